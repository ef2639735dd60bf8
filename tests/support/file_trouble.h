#pragma once
// Disk trouble on demand, for as long as a guard lives: a disk that takes no more than a few
// bytes per file (RLIMIT_FSIZE with SIGXFSZ ignored: writes fail with EFBIG as on a full disk),
// and permission bits that bind root too (the capabilities that override them are lowered from
// the effective set and raised again at the end).

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace conf_test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
};

class PermissionBitsBind {
  public:
    PermissionBitsBind();
    ~PermissionBitsBind();
    PermissionBitsBind(const PermissionBitsBind&) = delete;
    PermissionBitsBind& operator=(const PermissionBitsBind&) = delete;

  private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool held_ = false;
};

}  // namespace conf_test

namespace test_support = conf_test;
