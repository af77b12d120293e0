#pragma once

#include <functional>

class MainWindow;

// The program's life after start-up: a splash screen, a new main window and
// the event loop, again and again for as long as the window that closed asked
// for a restart (a change of language). windowShown, when given, is called
// with each window once it is on screen. Returns how many windows were built.
int runApplicationLoop(const std::function<void(MainWindow*)>& windowShown = {});
