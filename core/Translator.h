#pragma once

class QTranslator;

// The one application translator: installed by main, reloaded by the language
// handling of the main window. Created on first use, never deleted.
QTranslator* translator();
