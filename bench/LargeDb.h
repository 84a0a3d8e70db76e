#pragma once

#include <QString>

// Makes a realistic large pengkalan.dat at path through the engine: twenty years of daily
// journals, events of twenty types, ten thousand Thoughts nodes up to six levels deep.
// Returns false when it could not.
bool MakeLargeDatabase(const QString& templateFile, const QString& path);
