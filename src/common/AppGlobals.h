#pragma once

#include <QString>

// Application-wide values that live for the whole run.
inline constexpr short kFunctionCalendar = 1;
inline constexpr short kFunctionThoughts = 3;
inline constexpr short kFunctionAddressBook = 4;

extern short gCurrentFunction; // the main window's active function
extern QString gShortDateFormat;
extern QString gMinimizeToSystray; // "Y" or "N"
extern QString gEnableToolTips;    // "Y" or "N"

// Back to the values at process start (tests start every case from there).
void ResetAppGlobals();
