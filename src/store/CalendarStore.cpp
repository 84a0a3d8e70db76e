#include "store/CalendarStore.h"

#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "store/SqlText.h"
#include "store/Statement.h"

namespace CalendarStore {

namespace {

using Statement::Execute;
using Statement::Open;

QString DayIs(const QDate& day) {
    return QStringLiteral("caldate =#") + SqlDay(day) + QStringLiteral("#");
}

QString Between(const QString& table, const QDate& first, const QDate& last) {
    return QStringLiteral("select * from ") + table + QStringLiteral(" where caldate between #") +
           SqlDay(first) + QStringLiteral("# and #") + SqlDay(last) +
           QStringLiteral("# order by caldate asc");
}

QList<QDate> DaysWith(const QString& table, const QString& field, const QDate& first,
                      const QDate& last) {
    Recordset rs = Open(Between(table, first, last));
    QList<QDate> days;
    for (; !rs.Eof(); rs.MoveNext())
        if (!NullToEmpty(rs.Field(field)).isEmpty())
            if (const QDate day = rs.Field(QStringLiteral("caldate")).toDate(); day.isValid())
                days << day;
    return days;
}

// A stored time as a time of day; an empty or unreadable one is midnight.
QTime TimeOf(const QVariant& stored) {
    const auto v = ReadDate(NullToEmpty(stored));
    return v && v->hasTime ? v->time : QTime(0, 0, 0);
}

DayEvent EventAt(const Recordset& rs) {
    return {NullToEmpty(rs.Field(QStringLiteral("calevent"))),
            NullToEmpty(rs.Field(QStringLiteral("eventdetails"))),
            TimeOf(rs.Field(QStringLiteral("timestart"))),
            TimeOf(rs.Field(QStringLiteral("timeend")))};
}

QList<Found> Listed(const QString& sql, const QString& textField, const QString& detailsField) {
    Recordset rs = Open(sql);
    QList<Found> found;
    found.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext())
        found.append({rs.Field(QStringLiteral("caldate")).toDate(),
                      NullToEmpty(rs.Field(textField)),
                      detailsField.isEmpty() ? QString() : NullToEmpty(rs.Field(detailsField))});
    return found;
}

} // namespace

std::optional<QString> LoadJournal(const QDate& day) {
    Recordset rs = Open(QStringLiteral("select caljournal from pmcalendar where ") + DayIs(day));
    if (rs.Eof())
        return std::nullopt;
    return NullToEmpty(rs.Field(QStringLiteral("caljournal")));
}

void SaveJournal(const QDate& day, const QString& text) {
    if (TrimSpaces(text).isEmpty()) {
        Execute(QStringLiteral("delete from pmcalendar where caldate = #") + SqlDay(day) +
                QStringLiteral("#"));
        return;
    }
    const bool stored =
        !Open(QStringLiteral("select caldate from pmcalendar where ") + DayIs(day)).Eof();
    if (stored)
        Execute(QStringLiteral("update pmcalendar set caljournal = '") + Quoted(text) +
                QStringLiteral("' where caldate = #") + SqlDay(day) + QStringLiteral("#"));
    else
        Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('") +
                SqlDay(day) + QStringLiteral("','") + Quoted(text) + QStringLiteral("')"));
}

QList<QDate> JournalDaysBetween(const QDate& first, const QDate& last) {
    return DaysWith(QStringLiteral("pmcalendar"), QStringLiteral("caljournal"), first, last);
}

QList<QDate> EventDaysBetween(const QDate& first, const QDate& last) {
    return DaysWith(QStringLiteral("pmcaleventdate"), QStringLiteral("calevent"), first, last);
}

QList<DayJournal> JournalsBetween(const QDate& first, const QDate& last) {
    Recordset rs = Open(Between(QStringLiteral("pmcalendar"), first, last));
    QList<DayJournal> journals;
    journals.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext())
        if (const QDate day = rs.Field(QStringLiteral("caldate")).toDate(); day.isValid())
            journals.append({day, NullToEmpty(rs.Field(QStringLiteral("caljournal")))});
    return journals;
}

QList<DatedEvent> EventsBetween(const QDate& first, const QDate& last) {
    Recordset rs = Open(Between(QStringLiteral("pmcaleventdate"), first, last));
    QList<DatedEvent> events;
    events.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext())
        if (const QDate day = rs.Field(QStringLiteral("caldate")).toDate(); day.isValid())
            events.append({day, EventAt(rs)});
    return events;
}

QList<DayEvent> EventsOf(const QDate& day) {
    Recordset rs = Open(QStringLiteral("select * from pmcaleventdate where ") + DayIs(day));
    QList<DayEvent> events;
    for (; !rs.Eof(); rs.MoveNext())
        events << EventAt(rs);
    return events;
}

std::optional<DayEvent> EventOf(const QDate& day, const QString& type) {
    Recordset rs = Open(QStringLiteral("select * from pmcaleventdate where ") + DayIs(day) +
                        QStringLiteral(" and calevent = '") + Quoted(type) + QStringLiteral("'"));
    if (rs.Eof())
        return std::nullopt;
    return EventAt(rs);
}

void SaveEvent(const QDate& day, const DayEvent& event) {
    const QString type = Quoted(event.type);
    const bool stored =
        !Open(QStringLiteral("select caldate, calevent from pmcaleventdate where caldate = #") +
              SqlDay(day) + QStringLiteral("# and calevent = '") + type + QStringLiteral("'"))
             .Eof();
    const QString start = SqlTime(event.start);
    const QString end = SqlTime(event.end);
    const QString details = Quoted(event.details);
    if (stored)
        Execute(QStringLiteral("update pmcaleventdate set eventdetails = '") + details +
                QStringLiteral("', timestart=#") + start + QStringLiteral("#,timeend=#") + end +
                QStringLiteral("# where caldate = #") + SqlDay(day) +
                QStringLiteral("# and calevent = '") + type + QStringLiteral("'"));
    else
        Execute(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,"
                               "timestart,timeend) values (#") +
                SqlDay(day) + QStringLiteral("#,'") + type + QStringLiteral("','") + details +
                QStringLiteral("',#") + start + QStringLiteral("#,#") + end + QStringLiteral("#)"));
}

void DeleteEvent(const QDate& day, const QString& type) {
    Execute(QStringLiteral("delete from pmcaleventdate where caldate = #") + SqlDay(day) +
            QStringLiteral("# and calevent = '") + Quoted(type) + QStringLiteral("'"));
}

QList<Found> SearchJournals(const QString& text) {
    return Listed(QStringLiteral("select * from pmcalendar where caljournal like '%") +
                      LikeText(text) + QStringLiteral("%' order by caldate desc"),
                  QStringLiteral("caljournal"), QString());
}

bool JournalOfDayHolds(const std::optional<QDate>& day, const QString& text) {
    return !Open(QStringLiteral("select * from pmCalendar where caldate =#") +
                 (day ? SqlDay(*day) : QString()) + QStringLiteral("# and caljournal like '%") +
                 LikeText(text) + QStringLiteral("%'"))
                .Eof();
}

QList<Found> SearchEvents(const QString& text, EventFields in) {
    const QString p = LikeText(text);
    const QString type = QStringLiteral("calevent like '%") + p + QStringLiteral("%'");
    const QString details = QStringLiteral("eventdetails like '%") + p + QStringLiteral("%'");
    const QString where = in == EventFields::Type      ? type
                          : in == EventFields::Details ? details
                                                       : type + QStringLiteral(" or ") + details;
    return Listed(QStringLiteral("select * from pmcaleventdate where ") + where +
                      QStringLiteral(" order by caldate desc"),
                  QStringLiteral("calevent"), QStringLiteral("eventdetails"));
}

} // namespace CalendarStore
