#pragma once

// While it lives, file modes bind this process even when it runs as root:
// the capabilities that let root open any file are lowered from the
// effective set (they stay permitted, so they are raised again at the end).
// A device whose mode refuses its owner is then refused to the test as it
// is to a user outside the device's group. Header only, so that tests that
// link nothing of the support library can use it too.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class PermissionsEnforced
{
public:
    PermissionsEnforced()
    {
        m_saved = ::syscall(SYS_capget, &m_header, m_data) == 0;
        if (!m_saved)
            return;
        __user_cap_data_struct lowered[2] = {m_data[0], m_data[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        ::syscall(SYS_capset, &m_header, lowered);
    }
    ~PermissionsEnforced()
    {
        if (m_saved)
            ::syscall(SYS_capset, &m_header, m_data);
    }
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_data[2] = {};
    bool m_saved = false;
};
