#pragma once

#include <QString>

// The user's text as a LIKE pattern, written for the statement's
// " ESCAPE '!'" clause: '!' escapes the wildcards, because a backslash means
// different things to the back-ends (MySQL takes it as its own escape), and
// SQL Server also treats '[' as the start of a character class.
namespace LikePattern {

// A pattern that matches only text itself.
QString literal(QString text, int databaseType);
// As literal(), except that each '*' the user typed matches any run of
// characters.
QString withStars(const QString& text, int databaseType);

} // namespace LikePattern
