// While a FileSizeLimit lives, a file of this process grows to at most the given number
// of bytes, as on a disk that is all but full: a write beyond fails (EFBIG) instead of
// ending the process with SIGXFSZ. Needs no root, unlike a small mounted file system.
#ifndef VIREO_TEST_FILE_SIZE_LIMIT_H
#define VIREO_TEST_FILE_SIZE_LIMIT_H

#include <sys/resource.h>

#include <csignal>

namespace vireo_test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*handler_)(int);
    rlimit saved_{};
};

}  // namespace vireo_test

#endif
