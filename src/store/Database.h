#pragma once

#include <QString>
#include <functional>

// The database file as the windows know it: its schema brought up to date, and closed at the
// end. Opening it and everything else about the file belongs to the start-up.
namespace Database {

// The schema version the program requires.
QString RequiredVersion();
// Brings the schema up to date, calling beforeUpgrade once before it changes anything; false
// when the main window must skip its set-up (reported).
bool CheckVersion(const std::function<void()>& beforeUpgrade = {});
void Close();

} // namespace Database
