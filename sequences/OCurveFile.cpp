#include "sequences/OCurveFile.h"

#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("OCurveFile", text);
}

} // namespace

QString OCurveFile::root()
{
    return QStringLiteral("%1/OCurves").arg(dataFolder());
}

bool OCurveFile::isPlainName(const QString& monitor)
{
    return !monitor.isEmpty() && monitor != QLatin1String(".") && monitor != QLatin1String("..")
           && !monitor.contains(QLatin1Char('/')) && !monitor.contains(QLatin1Char('\\'));
}

QString OCurveFile::directory(const QString& monitor, bool adult)
{
    return QStringLiteral("%1/%2/%3/").arg(root(), monitor, adult ? QStringLiteral("Adult") : QStringLiteral("Infant"));
}

QString OCurveFile::fileName(int systolic, int diastolic)
{
    return QStringLiteral("%1_%2.csv").arg(systolic, 3, 10, QLatin1Char('0')).arg(diastolic, 3, 10, QLatin1Char('0'));
}

QFileInfoList OCurveFile::monitors()
{
    return QDir(root()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QFileInfoList OCurveFile::curves(const QString& folder)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.csv")});
    return dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

int OCurveFile::systolicOf(const QString& fileName)
{
    return fileName.mid(0, 3).toInt();
}

int OCurveFile::diastolicOf(const QString& fileName)
{
    return fileName.mid(4, 3).toInt();
}

bool OCurveFile::write(const QString& path, const Table& table, QString* why)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        qDebug().noquote() << "Error creating path: " + folder;
        *why = tr("The folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *why = tr("The curve file %1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QTextStream out(&file);
    for (const auto& entry : table)
        out << QStringLiteral("%1,%2\n").arg(entry[0]).arg(entry[1]);
    out.flush();
    if (!file.commit()) {
        *why = tr("The curve file %1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool OCurveFile::read(const QString& path, Table& table, int* count, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = tr("The curve file %1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    Table read = {};
    int points = 0;
    int lineNumber = 0;
    while (points < Points && !file.atEnd()) {
        ++lineNumber;
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split(',');
        bool firstOk = false;
        bool secondOk = false;
        const uint first = fields.size() == 2 ? fields.at(0).trimmed().toUInt(&firstOk) : 0;
        const uint second = fields.size() == 2 ? fields.at(1).trimmed().toUInt(&secondOk) : 0;
        if (!firstOk || !secondOk || first > 65535 || second > 65535) {
            *why = tr("The curve file %1 cannot be used: line %2 is not two numbers from 0 to 65535.")
                       .arg(QDir::toNativeSeparators(path))
                       .arg(lineNumber);
            return false;
        }
        read[points][0] = quint16(first);
        read[points][1] = quint16(second);
        ++points;
    }
    std::copy(&read[0][0], &read[0][0] + Points * 2, &table[0][0]);
    *count = points;
    return true;
}

int OCurveFile::pointCount(const Table& table)
{
    for (int i = 1; i < Points; ++i) {
        if (table[i][0] == 0 && table[i][1] == 0)
            return i;
    }
    return Points;
}
