#pragma once

#include "store/CalendarStore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Pimora's data out and in, in open formats: events and journal as iCalendar (RFC 5545, by
// libical), Thoughts as a folder of Markdown files. Everything is read and written through
// the stores; nothing here has a widget or reports an error: failures are RuntimeErrors for
// the caller to show.
namespace Exchange {

// Days from first to last, both included; an invalid end leaves that side open.
struct Range {
    QDate first;
    QDate last;
};

// Steps done so far and in all; false cancels.
using Progress = std::function<bool(int done, int total)>;

// Writes the events and journals of the range to an .ics file, replacing it only once all is
// written. False when cancelled: the file is then as it was.
bool ExportCalendar(const QString& file, const Range& range, const Progress& progress = {});
// The same text, for the file and for the benchmarks.
QByteArray CalendarText(const Range& range, const Progress& progress = {});

// Writes the tree under "Thoughts" into folder, which must not exist or be empty: a node is
// <caption>.md, a node with children also <caption>/. False when cancelled: nothing is left.
bool ExportThoughts(const QString& folder, const Progress& progress = {});

// What an import would write, worked out before anything is.
struct CalendarPlan {
    struct Journal {
        QDate day;
        QString text; // as it will be stored: appended to the day's journal when it had one
        bool appended = false;
    };
    struct Event {
        QDate day;
        CalendarStore::DayEvent event;
    };
    QList<Journal> journals;
    QList<Event> events; // new ones only
    int eventsExisting = 0;
    QStringList newTypes;
    int JournalsNew() const;
    int JournalsAppended() const;
};
// Reads an .ics file: its VEVENTs (a recurring one as its occurrences in the range) and its
// VJOURNALs. A file that is not well formed is refused naming its line; nothing is written.
CalendarPlan ReadCalendar(const QString& file, const Range& range);
CalendarPlan PlanCalendar(const QByteArray& text, const Range& range,
                          const QString& source = QString());

struct ThoughtsPlan {
    struct Node {
        QString caption;
        QString note;
        QString storedName; // from the file's first line, when it has one
        int parent = -1;    // index of the parent in nodes, -1 for the node imported under
        bool known = false; // a node the database holds already: not made again
    };
    QList<Node> nodes; // parents before their children
    int NewNodes() const;
};
// Reads a folder of .md and .txt files, and folders of them, as a subtree.
ThoughtsPlan ReadThoughts(const QString& folder);

// "N journal days new, M days that already hold a journal (...), ..., P notes under the node
// <caption>"
QString Preview(const CalendarPlan& calendar, const ThoughtsPlan& thoughts,
                const QString& parentCaption);

// Writes both plans in one transaction: everything or, on any failure, nothing. New nodes go
// under parentKey and are named from the clock as New Node names them.
void Import(const CalendarPlan& calendar, const ThoughtsPlan& thoughts, const QString& parentKey,
            const QDateTime& now, const Progress& progress = {});

} // namespace Exchange
