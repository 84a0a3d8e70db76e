#pragma once

#include <functional>

// Reads the preferences row into the application-wide values and hands the tool-tip choice
// to applyToolTips. With no row the values keep what they held and nothing is applied.
void LoadPreferences(const std::function<void(bool enable)>& applyToolTips);
