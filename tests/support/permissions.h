#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While alive, the calling thread's file accesses obey the files' permissions
// as any user's do: root's rights to read and write past them are set aside,
// so that chmod 000 makes a file unreadable to a test run as root.
class PermissionsObeyed {
  public:
    PermissionsObeyed() {
        if (Call(SYS_capget, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        held_ = Call(SYS_capset, lowered) == 0;
    }
    ~PermissionsObeyed() {
        if (held_) Call(SYS_capset, saved_);
    }

  private:
    static long Call(long call, __user_cap_data_struct (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(call, &header, data);
    }
    __user_cap_data_struct saved_[2] = {};
    bool held_ = false;
};
