#include "portwell/EComError.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
bool holds(const std::vector<gid_t>& groups, gid_t gid)
{
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}
} // namespace

EComError::EComError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
{
}

EComError EComError::fromErrno(int code)
{
    return EComError(code, QString::fromLocal8Bit(std::strerror(code)));
}

// The text says what is true of the device's group: that no group may use
// it, that the user joined it after logging in, or which group to join.
EComError EComError::fromAccessDenied(int code, const QString& device)
{
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0)
        return fromErrno(code);
    const group* entry = ::getgrgid(info.st_gid);
    const QString name = entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(info.st_gid);
    std::vector<gid_t> held(size_t(std::max(0, ::getgroups(0, nullptr))));
    held.resize(size_t(std::max(0, ::getgroups(int(held.size()), held.data()))));
    held.push_back(::getegid());
    std::vector<gid_t> listed;
    if (const passwd* user = ::getpwuid(::geteuid())) {
        int count = 0;
        ::getgrouplist(user->pw_name, user->pw_gid, nullptr, &count);
        listed.resize(size_t(std::max(count, 0)));
        if (::getgrouplist(user->pw_name, user->pw_gid, listed.data(), &count) < 0)
            listed.clear();
    }
    QString text;
    if ((info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        text = QStringLiteral("You may not use the serial port %1.\n\nIts permissions let no group use it (it "
                              "belongs to the group \"%2\"), so joining a group does not open it. Ask your "
                              "administrator to give the port to the group \"dialout\" with read and write access "
                              "for the group.");
    else if (holds(held, info.st_gid))
        return fromErrno(code);
    else if (holds(listed, info.st_gid))
        text = QStringLiteral("You may not use the serial port %1 yet.\n\nYour user was added to its group "
                              "\"%2\" after you logged in: log out and log in again.");
    else
        text = QStringLiteral("You may not use the serial port %1.\n\nOn this computer it belongs to the group "
                              "\"%2\". Ask your administrator to add your user to that group (sudo adduser <user> "
                              "%2), then log out and log in again.");
    return EComError(code, text.arg(device, name));
}

bool EComError::AccessDenied() const
{
    return m_code == EACCES || m_code == EPERM;
}

EComError EComError::fromDeviceLost(int code, const QString& device)
{
    EComError error(code, QStringLiteral("The serial port %1 was lost (%2).")
                              .arg(device, QString::fromLocal8Bit(std::strerror(code))));
    error.m_deviceLost = true;
    return error;
}
