#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>

// The file an export is written to: a temporary file beside the target,
// which takes the target's name only once every byte is written, flushed
// and synced. A failed write stays failed: a later write that succeeds
// (the disk has room again) must not close the gap it left. A file that is
// destroyed without a commit leaves nothing under the target's name.
class ExportFile : public QIODevice
{
    Q_OBJECT
public:
    explicit ExportFile(const QString& targetPath);
    ~ExportFile() override;

    const QString& targetPath() const { return m_targetPath; }

    // Creates the temporary file for writing; false, with the reason in
    // errorString(), when the target's folder or the target refuses it.
    bool open();
    // Whether a write, flush or sync has failed; errorString() says why.
    bool failed() const { return m_failed; }
    // Puts the whole file under the target's name; false when it was not.
    bool commit();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void fail();

    QString m_targetPath;
    QSaveFile m_file;
    bool m_failed = false;
};
