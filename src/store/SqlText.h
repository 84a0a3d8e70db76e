#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// How the statements write what they name.

// "05 Dec 2026", a day inside the statements' #...# and '...'.
QString SqlDay(const QDate& day);
// "09:30:00 AM", a time of day inside the statements' #...#.
QString SqlTime(const QTime& time);
// The text of a LIKE pattern that finds text anywhere: trimmed, its percent signs literal and
// its apostrophes doubled, for between '% and %'.
QString LikeText(const QString& text);
// A value quoted for between apostrophes.
QString Quoted(QString text);
