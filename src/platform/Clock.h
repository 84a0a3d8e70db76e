#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and the time of day as the program reads them. Tests set the clock so that
// what depends on it (names made from the time, today's day) can be checked without waiting.
namespace Clock {

QDateTime Now();
QDate Today();

// Stops the clock at a moment; Reset() lets it run with the real time again.
void Set(const QDateTime& moment);
void Reset();

} // namespace Clock
