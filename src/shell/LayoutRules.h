#pragma once

#include "controls/Twips.h"

#include <vector>

// The main window's resize rules: from the window's outer size, the active function and the
// state the rules read, the sizes (and the two tops) they set, in twips, in the order they
// set them. A rule whose threshold is not passed sets nothing; a size the rules would make
// zero or negative is left out, so the control keeps the size it has.
namespace LayoutRules {

struct Input {
    int W = 0;            // the window's outer width
    int H = 0;            // and height
    int function = 1;     // the active function: 1, 3 or 4
    int fraFuncWidth = 0; // the active function frame's width now
    int lblFuncWidth = 0; // its title label's width now
    int journalTop = 240; // rtfCalQJournal's top: 240 with its find strip closed
    int noteTop = 660;    // rtfThoughts' top: 660 with its find strip closed
};

using Setting = TwipsSetting;

std::vector<Setting> Apply(const Input& in);

} // namespace LayoutRules
