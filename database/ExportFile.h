#pragma once

#include <QIODevice>
#include <QString>

// The file an export is written to: a file beside the target, which takes
// the target's name only once every byte is written and on the disk (its
// sync succeeded); the folder is synced after the rename. A failed write
// stays failed: a later write that succeeds (the disk has room again) must
// not close the gap it left. A file that is destroyed without a commit
// leaves nothing under the target's name.
//
// The file has no name while it is written where the file system allows
// it; otherwise, and for the moment between its naming and the rename, it
// is named with leftoverPrefix and held locked by its writer, so that
// removeLeftovers() can tell what a killed export left from what a running
// one is writing.
class ExportFile : public QIODevice
{
    Q_OBJECT
public:
    explicit ExportFile(const QString& targetPath);
    ~ExportFile() override;

    static const QString leftoverPrefix;

    const QString& targetPath() const { return m_targetPath; }
    // The folder the file is written in: the target's, or that of the file
    // a symbolic link as the target names.
    QString folder() const;

    // Creates the file for writing; false, with the reason in
    // errorString(), when the target's folder or the target refuses it.
    bool open();
    // Whether a write or the sync has failed; errorString() says why.
    bool failed() const { return m_failed; }
    // Whether the file took the target's name, although a commit that
    // failed after it (the folder's sync) cannot say it is kept.
    bool renamed() const { return m_renamed; }
    // Puts the whole file under the target's name; false when it is not
    // there for certain.
    bool commit();

    bool isSequential() const override { return true; }

    // A new file in folder named with leftoverPrefix, open for writing and
    // locked for as long as the descriptor returned stays open; -1 (errno
    // set) when the folder refuses it.
    static int createHeld(const QString& folder, QString* path, int mode);
    // Removes the files named with leftoverPrefix in folder that no running
    // export holds: what a killed one left.
    static void removeLeftovers(const QString& folder);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void fail(int systemError);
    void discard();
    QByteArray real() const;

    QString m_targetPath;
    // The file that the target's name stands for (a symbolic link is followed).
    QString m_realPath;
    // The file's name while it has one.
    QString m_namedPath;
    int m_fd = -1;
    bool m_failed = false;
    bool m_renamed = false;
};
