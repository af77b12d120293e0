#include "portwell/ConfigRecord.h"

#include <QFile>

namespace {

QString field(const QByteArray& bytes, int offset, int size)
{
    const QByteArray part = bytes.mid(offset, size);
    const qsizetype end = part.indexOf('\0');
    return QFile::decodeName(end < 0 ? part : part.left(end));
}

} // namespace

bool ConfigRecord::setLastFilePath(const QString& path)
{
    if (QFile::encodeName(path).size() >= PathSize)
        return false;
    m_lastFilePath = path;
    return true;
}

bool ConfigRecord::setPortName(const QString& name)
{
    if (QFile::encodeName(name).size() >= PortSize)
        return false;
    m_portName = name;
    return true;
}

QByteArray ConfigRecord::toBytes() const
{
    QByteArray bytes(Size, '\0');
    const QByteArray path = QFile::encodeName(m_lastFilePath);
    const QByteArray port = QFile::encodeName(m_portName);
    bytes.replace(0, path.size(), path);
    bytes.replace(PathSize, port.size(), port);
    return bytes;
}

ConfigRecord ConfigRecord::fromBytes(const QByteArray& bytes)
{
    ConfigRecord record;
    record.m_lastFilePath = field(bytes, 0, PathSize);
    record.m_portName = field(bytes, PathSize, PortSize);
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
    const QByteArray bytes = toBytes();
    return file.write(bytes) == bytes.size();
}
