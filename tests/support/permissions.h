#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

// While alive, the calling thread's file accesses obey the files'
// permissions, as any user's do: root's rights to read and write whatever
// the permissions say are set aside (and given back at the end). A test run
// as root can thus make a file unreadable with chmod 000.
class PermissionsObeyed {
  public:
    PermissionsObeyed() {
        if (!Get(saved_)) return;
        Data lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~kOverrides;
        held_ = Set(lowered);
    }
    ~PermissionsObeyed() {
        if (held_) Set(saved_);
    }
    PermissionsObeyed(const PermissionsObeyed&) = delete;
    PermissionsObeyed& operator=(const PermissionsObeyed&) = delete;

  private:
    using Data = __user_cap_data_struct;
    static constexpr std::uint32_t kOverrides =
        (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

    static bool Get(Data (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static bool Set(Data (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    Data saved_[2] = {};
    bool held_ = false;
};
