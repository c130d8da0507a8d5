#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Tests run as root, who writes through any permission: for as long as this lives the calling thread does not,
// so a read-only file or folder refuses its writes as it would for any user.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride()
    {
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutPermissionOverride()
    {
        if (m_active)
            syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    __user_cap_header_struct m_header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] = {};
    bool m_active = false;
};
