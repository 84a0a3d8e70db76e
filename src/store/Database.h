#pragma once

#include <QString>

// The database file as the windows know it: its schema brought up to date, and closed at the
// end. Opening it and everything else about the file belongs to the start-up.
namespace Database {

// The schema version the program requires.
QString RequiredVersion();
// Brings the schema up to date; false when the main window must skip its set-up (reported).
bool CheckVersion();
void Close();

} // namespace Database
