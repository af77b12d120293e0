#include "database/ExportFile.h"

ExportFile::ExportFile(const QString& targetPath) : m_targetPath(targetPath), m_file(targetPath) {}

ExportFile::~ExportFile()
{
    m_file.cancelWriting();
}

bool ExportFile::open()
{
    // Written in place, a file cut short would carry the target's name.
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly)) {
        setErrorString(m_file.errorString());
        return false;
    }
    return QIODevice::open(QIODevice::WriteOnly);
}

bool ExportFile::commit()
{
    if (m_failed)
        return false;
    // QSaveFile's commit takes a failed flush of its own buffer for success.
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError || !m_file.commit()) {
        fail();
        return false;
    }
    QIODevice::close();
    return true;
}

qint64 ExportFile::readData(char*, qint64)
{
    return -1;
}

// A write the file takes only in part is tried again for the rest: the
// second try is the one that fails with the system's reason (no space
// left, file too large), where the first only came back short.
qint64 ExportFile::writeData(const char* data, qint64 size)
{
    if (m_failed)
        return -1;
    qint64 written = 0;
    while (written < size) {
        const qint64 n = m_file.write(data + written, size - written);
        if (n <= 0) {
            fail();
            return -1;
        }
        written += n;
    }
    return size;
}

void ExportFile::fail()
{
    m_failed = true;
    setErrorString(m_file.errorString());
    m_file.cancelWriting();
}
