#pragma once

#include <QFileInfoList>
#include <QString>
#include <QStringList>

// The O-curve files: one CSV file of up to forty "first,second" points per
// monitor model, patient size and pressure pair, kept in
// "<data folder>/OCurves/<monitor>/<Adult or Infant>/<systolic>_<diastolic>.csv".
class OCurveFile
{
public:
    enum { Points = 40 };
    using Table = quint16[Points][2];

    OCurveFile() = delete;

    static QString root();
    // A monitor name from a sequence may only name a folder of its own below
    // the root: not empty, no path separator, not "." or "..".
    static bool isPlainName(const QString& monitor);
    static bool isAdult(int adultInfant) { return adultInfant > 45; }
    // With a trailing slash.
    static QString directory(const QString& monitor, bool adult);
    // Pressures with at least three digits: 120/80 gives "120_080.csv".
    static QString fileName(int systolic, int diastolic);
    // The monitor folders, in name order ignoring case.
    static QFileInfoList monitors();
    // The curve files of a folder, in name order ignoring case.
    static QFileInfoList curves(const QString& folder);
    // The pressure pair a file name stands for; 0 where it holds no number.
    static int systolicOf(const QString& fileName);
    static int diastolicOf(const QString& fileName);

    // Writes all forty entries, creating the folder first. False (with why)
    // when the folder or the file cannot be written.
    static bool write(const QString& path, const Table& table, QString* why);
    // Reads up to forty points, entries after them (0,0). Blank lines are
    // skipped and CRLF or LF end a line. A line that is not two numbers of
    // 0 to 65535 refuses the whole file; why then names the file and line,
    // and the table is left as it was.
    static bool read(const QString& path, Table& table, int* count, QString* why);
    // The points to draw: up to the first (0,0) entry after the first one.
    static int pointCount(const Table& table);
};
