#pragma once

#include <QString>
#include <optional>

// The preferences row (pmPref): the password and the options. Only its first row counts, and
// the updates carry no condition. Every function runs its statement through the one
// connection and throws the engine's error for its caller to report.
namespace PreferenceStore {

struct Preferences {
    QString password; // as stored: empty, a hash, or an older version's plain text
    QString shortDateFormat;
    QString minimizeToSystray; // "Y" or "N"
    QString enableToolTips;    // "Y" or "N"
};
// The row; nothing when the table has none.
std::optional<Preferences> Load();
// The stored password alone; nothing when the table has no row.
std::optional<QString> StoredPassword();
// The row a database without one gets at the start.
void AddEmptyRow();
void SetPassword(const QString& stored);
void RemovePassword();
void SetMinimizeToSystray(bool on);
void SetEnableToolTips(bool on);

} // namespace PreferenceStore
