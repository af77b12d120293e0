#pragma once

#include <QString>

// The tool's texts, one table per language, each entry by its index. The
// window reads language 0 (English) only; the others are kept for the
// translators' export.
namespace LanguageTables {

constexpr int LanguageCount = 6;
constexpr int EntryCount = 41;

// The entry of that language; an empty entry falls back to English, and an
// index or language outside the tables gives an empty text.
QString GetLangString(int index, int language);

// Writes every entry of every language to "LangStrings.txt" in the current
// folder: one row per index, "%03d" and a TAB before each language's text,
// each row ended by a single CR. False when the file cannot be written.
bool ExportLangStrings();

} // namespace LanguageTables
