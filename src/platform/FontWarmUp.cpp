#include "platform/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

// fontconfig builds its one configuration atomically: when both threads get there first,
// one of the two copies is dropped, so the race costs time, never correctness.
FontWarmUp::FontWarmUp() : thread_([] { FcInit(); }) {}

FontWarmUp::~FontWarmUp() {
    if (thread_.joinable())
        thread_.join();
}
