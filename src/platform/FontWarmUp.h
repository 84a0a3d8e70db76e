#pragma once

#include <thread>

// Reads the system's font configuration on another core while the program opens its
// database and builds its window. Qt reads the same configuration, once, when the first text
// is measured; found ready, that wait is gone from the start. Joined when it goes.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};
