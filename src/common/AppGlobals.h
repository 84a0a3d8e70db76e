#pragma once

#include <QString>

// Where the help sends the user: the program's web site and its author's e-mail address.
inline constexpr const char* kSite = "https://pimora.example.org";
inline constexpr const char* kAuthorMail = "pimora.author@example.org";

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
