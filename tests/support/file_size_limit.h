// A full disk without privileges: while a FileSizeLimit lives, no write of
// this process may make a file larger than the limit (the write fails with
// EFBIG, as one fails with ENOSPC on a full disk). It runs anywhere, as root
// too, and changes no file system.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace pm::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    // Without this the kernel would end the process with SIGXFSZ.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool active_ = false;
};

}  // namespace pm::testing
