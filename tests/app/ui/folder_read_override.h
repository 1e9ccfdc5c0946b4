#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace songwick::testing {

// Tests run as root, who reads any folder whatever its mode. While this lives, the calling
// thread (and every thread it starts) runs without that power, so that a folder of mode 000
// cannot be read by root either; works() is false when the power could not be put aside.
// For a user other than root there is nothing to put aside.
class WithoutFolderReadOverride {
public:
    WithoutFolderReadOverride() {
        if (::geteuid() != 0) {
            works_ = true;
            return;
        }
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        works_ = lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutFolderReadOverride() {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutFolderReadOverride(const WithoutFolderReadOverride&) = delete;
    WithoutFolderReadOverride& operator=(const WithoutFolderReadOverride&) = delete;

    bool works() const { return works_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
    bool works_ = false;
};

} // namespace songwick::testing
