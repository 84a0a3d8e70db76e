#pragma once

#include "data/Connection.h"

#include <QString>
#include <functional>
#include <memory>

class RuntimeError;

inline const QString CURRENT_DB_VERSION = QStringLiteral("0.9.7");

extern std::unique_ptr<Connection> gConn; // the one connection, open between the two calls below
extern QString gSQL;                      // the statement about to be run

// Opens gConn on pengkalan.dat in the application folder, offering to create it from
// kosg.dat when it is missing. A damaged file is handed to recover first, with the database
// closed: true when it put a sound file in its place, to be opened next. False when the
// program must not go on.
bool OpenDatabase(const std::function<bool(const RuntimeError&)>& recover = {});
bool CloseDatabase();

// Brings the schema to CURRENT_DB_VERSION, calling beforeUpgrade once before the first change.
// False when the main window must skip its set-up.
bool CheckDBVersion(const std::function<void()>& beforeUpgrade = {});

QString DatabaseFile(); // <application folder>/pengkalan.dat
QString TemplateFile(); // <application folder>/kosg.dat
QString ConnectionString();

// The engine's "file not found" for a file under the application folder.
bool IsMissingDatabaseError(const RuntimeError& error, const QString& folder);
