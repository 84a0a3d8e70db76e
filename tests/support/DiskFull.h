#pragma once

#include <sys/resource.h>

// A disk that fills up for the rest of a scope: no file of this process may grow beyond the
// given size (writes past it fail as on a full disk instead of raising SIGXFSZ). The limit is
// lifted at the end of the scope.
class DiskFull {
public:
    explicit DiskFull(long long bytes);
    ~DiskFull();
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;

private:
    rlimit before_{};
    void (*handler_)(int) = nullptr;
};
