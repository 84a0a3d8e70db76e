#pragma once

#include "data/Connection.h"

#include <QString>
#include <memory>

class RuntimeError;

inline const QString CURRENT_DB_VERSION = QStringLiteral("0.9.7");

extern std::unique_ptr<Connection> gConn; // the one connection, open between the two calls below
extern QString gSQL;                      // the statement about to be run

// Opens gConn on pengkalan.dat in the application folder, offering to create it from
// kosg.dat when it is missing. False when the program must not go on.
bool OpenDatabase();
bool CloseDatabase();

// Brings the schema to CURRENT_DB_VERSION. False when the main window must skip its set-up.
bool CheckDBVersion();

QString DatabaseFile(); // <application folder>/pengkalan.dat
QString TemplateFile(); // <application folder>/kosg.dat
QString ConnectionString();

// The engine's "file not found" for a file under the application folder.
bool IsMissingDatabaseError(const RuntimeError& error, const QString& folder);
