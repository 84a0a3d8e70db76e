#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <optional>

// The calendar's tables: a journal a day (pmcalendar) and the day's events (pmcaleventdate).
// Every function runs the calendar's own statement through the one connection and throws the
// engine's error for its caller to report.
namespace CalendarStore {

// The day's journal, trimmed; nothing when the day has no row.
std::optional<QString> LoadJournal(const QDate& day);
// Writes the day's journal: a new row, the row updated, or, for a text of blanks only, the
// row removed.
void SaveJournal(const QDate& day, const QString& text);

// The days between first and last (both included) whose journal is not blank, and those
// that hold an event.
QList<QDate> JournalDaysBetween(const QDate& first, const QDate& last);
QList<QDate> EventDaysBetween(const QDate& first, const QDate& last);

struct DayEvent {
    QString type;
    QString details;
    QTime start;
    QTime end;
};
// The day's events, as the table returns them.
QList<DayEvent> EventsOf(const QDate& day);
// One event of the day, by its type; nothing when the day has none of that type.
std::optional<DayEvent> EventOf(const QDate& day, const QString& type);
// The day's event of this type is added, or replaced when the day has one already.
void SaveEvent(const QDate& day, const DayEvent& event);
void DeleteEvent(const QDate& day, const QString& type);

// Every journal and every event between first and last (both included), oldest day first,
// each in one statement, for the calendar's export and the import's comparison.
struct DayJournal {
    QDate day;
    QString text;
};
QList<DayJournal> JournalsBetween(const QDate& first, const QDate& last);
struct DatedEvent {
    QDate day;
    DayEvent event;
};
QList<DatedEvent> EventsBetween(const QDate& first, const QDate& last);

// Searches: the text is found anywhere, in any letter case, a percent sign as itself, the
// blanks around it ignored. Newest day first.
struct Found {
    QDate day;
    QString text;    // the journal, or the event's type
    QString details; // the event's details
};
QList<Found> SearchJournals(const QString& text);
// Whether the day's journal holds the text; without a day the statement names none and the
// engine refuses it.
bool JournalOfDayHolds(const std::optional<QDate>& day, const QString& text);
enum class EventFields { TypeOrDetails, Type, Details };
QList<Found> SearchEvents(const QString& text, EventFields in);

} // namespace CalendarStore
