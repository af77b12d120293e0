#include "portwell/ConfigRecord.h"

#include <QFile>

QString ConfigRecord::field(int offset, int size) const
{
    const QByteArray part = m_bytes.mid(offset, size);
    const qsizetype end = part.indexOf('\0');
    return QFile::decodeName(end < 0 ? part : part.left(end));
}

bool ConfigRecord::setField(int offset, int size, const QString& value)
{
    const QByteArray encoded = QFile::encodeName(value);
    if (encoded.size() >= size)
        return false;
    m_bytes.replace(offset, size, encoded.leftJustified(size, '\0'));
    return true;
}

QString ConfigRecord::lastFilePath() const
{
    return field(0, PathSize);
}

QString ConfigRecord::portName() const
{
    return field(PathSize, PortSize);
}

bool ConfigRecord::setLastFilePath(const QString& path)
{
    return setField(0, PathSize, path);
}

bool ConfigRecord::setPortName(const QString& name)
{
    return setField(PathSize, PortSize, name);
}

ConfigRecord ConfigRecord::fromBytes(const QByteArray& bytes)
{
    ConfigRecord record;
    record.m_bytes = bytes.left(Size).leftJustified(Size, '\0');
    return record;
}

bool ConfigRecord::load(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *this = fromBytes(file.read(Size));
    return true;
}

bool ConfigRecord::save(const QString& fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(m_bytes) == m_bytes.size();
}
