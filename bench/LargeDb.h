#pragma once

#include <QString>

// Makes a realistic large pengkalan.dat at path through the engine: twenty years of daily
// journals (each opening "Dear diary, "), events of twenty types, ten thousand Thoughts nodes
// up to six levels deep; one note and one event detail in ten holds "pomegranate".
// Returns false when it could not.
bool MakeLargeDatabase(const QString& templateFile, const QString& path);

// The large database the benchmarks share, made on first use; empty when it could not be.
QString LargeDatabase();
