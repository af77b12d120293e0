#include "database/ExportFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const QString ExportFile::leftoverPrefix = QStringLiteral(".pelvane-export-");

namespace {
QString randomName(const QString& folder)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = folder + QLatin1Char('/') + ExportFile::leftoverPrefix;
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return name;
}

// Where errno says why; EINTR is tried again.
bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}
} // namespace

ExportFile::ExportFile(const QString& targetPath) : m_targetPath(targetPath)
{
    // The file a symbolic link names is the one replaced, the link stays.
    const QFileInfo target(targetPath);
    m_realPath = !target.isSymLink() ? target.absoluteFilePath()
                 : target.exists()   ? target.canonicalFilePath()
                                     : target.symLinkTarget();
}

ExportFile::~ExportFile()
{
    discard();
}

QString ExportFile::folder() const
{
    return QFileInfo(m_realPath).absolutePath();
}

bool ExportFile::open()
{
    const QByteArray real = QFile::encodeName(m_realPath);
    struct stat existing = {};
    const bool exists = ::stat(real.constData(), &existing) == 0;
    // Renamed onto a pipe or a device, the export would take away the
    // device's name and leave a plain file in its place.
    if (exists && !S_ISREG(existing.st_mode)) {
        setErrorString(tr("It is not a file but a pipe, a device or a folder, which an export does not replace. "
                          "Choose a file to export to."));
        return false;
    }
    if (exists && ::faccessat(AT_FDCWD, real.constData(), W_OK, AT_EACCESS) != 0) {
        setErrorString(tr("The file is read-only."));
        return false;
    }
    const QString dir = folder();
    removeLeftovers(dir);
    m_fd = ::open(QFile::encodeName(dir).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_EX); // the name it takes at the commit is held too
    else
        m_fd = createHeld(dir, &m_namedPath, 0666);
    if (m_fd < 0) {
        const int why = errno;
        if (why == EACCES || why == EPERM || why == EROFS)
            setErrorString(tr("No new file can be made in the folder \"%1\" (%2). An export is written to a new "
                              "file beside the old one, which it then replaces: the folder must be writable, not "
                              "only the file.",
                              "%1 is the folder, %2 the system's reason")
                               .arg(QDir::toNativeSeparators(dir), qt_error_string(why)));
        else
            setErrorString(tr("No new file can be made in the folder \"%1\": %2",
                              "%1 is the folder, %2 the system's reason")
                               .arg(QDir::toNativeSeparators(dir), qt_error_string(why)));
        return false;
    }
    if (exists)
        ::fchmod(m_fd, existing.st_mode & 07777); // the new file keeps the old one's permissions
    return QIODevice::open(QIODevice::WriteOnly);
}

bool ExportFile::commit()
{
    if (m_failed || m_fd < 0)
        return false;
    // Data that the disk never took must not take the name: QSaveFile's
    // commit renames whatever the sync says.
    if (::fdatasync(m_fd) != 0) {
        fail(errno);
        return false;
    }
    const QString dir = folder();
    for (int attempt = 0; m_namedPath.isEmpty(); ++attempt) {
        const QString name = randomName(dir);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, QFile::encodeName(name).constData(), AT_SYMLINK_FOLLOW)
            == 0)
            m_namedPath = name;
        else if (errno != EEXIST || attempt > 100) {
            fail(errno);
            return false;
        }
    }
    if (::rename(QFile::encodeName(m_namedPath).constData(), real()) != 0) {
        fail(errno);
        return false;
    }
    m_namedPath.clear();
    m_renamed = true;
    const int folderFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool folderSynced = folderFd >= 0 && ::fsync(folderFd) == 0;
    const int why = errno;
    if (folderFd >= 0)
        ::close(folderFd);
    discard();
    QIODevice::close();
    if (!folderSynced) {
        m_failed = true;
        setErrorString(qt_error_string(why));
        return false;
    }
    return true;
}

QByteArray ExportFile::real() const
{
    return QFile::encodeName(m_realPath);
}

qint64 ExportFile::readData(char*, qint64)
{
    return -1;
}

qint64 ExportFile::writeData(const char* data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return -1;
    if (!writeAll(m_fd, data, size)) {
        fail(errno);
        return -1;
    }
    return size;
}

void ExportFile::fail(int systemError)
{
    m_failed = true;
    setErrorString(qt_error_string(systemError));
    discard();
}

void ExportFile::discard()
{
    if (!m_namedPath.isEmpty()) {
        ::unlink(QFile::encodeName(m_namedPath).constData());
        m_namedPath.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

int ExportFile::createHeld(const QString& folder, QString* path, int mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = randomName(folder);
        const int fd = ::open(QFile::encodeName(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            *path = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

void ExportFile::removeLeftovers(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({leftoverPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A running export holds its file until the file is gone or renamed.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}
