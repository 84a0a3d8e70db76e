// Reading an .ics file into a plan: what is new, what the database holds already. Times in a
// zone become local times; floating times and dates are taken as they stand.
#include "exchange/Exchange.h"
#include "exchange/IcalText.h"

#include "common/RuntimeError.h"
#include "store/EventTypeStore.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

namespace Exchange {

namespace {

struct Freer {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, Freer>;

RuntimeError Refused(const QString& source, const QString& why) {
    return RuntimeError(0,
                        QStringLiteral("The file '%1' cannot be imported: %2. Nothing was "
                                       "imported.")
                            .arg(source, why),
                        QStringLiteral("Pimora"), ErrorKind::General);
}

QString Text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

bool Floats(const icaltimetype& t) {
    return icaltime_is_date(t) || (!t.zone && !icaltime_is_utc(t));
}

// The local date and time of a moment as the file gives it.
QDateTime LocalOf(const icaltimetype& t) {
    const QDate day(t.year, t.month, t.day);
    if (icaltime_is_date(t))
        return QDateTime(day, QTime(0, 0));
    if (Floats(t))
        return QDateTime(day, QTime(t.hour, t.minute, qMin(t.second, 59)));
    const time_t at =
        icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
    return QDateTime::fromSecsSinceEpoch(qint64(at)).toLocalTime();
}

// A span from libical's expansion: UTC seconds, which for floating times are the wall clock.
QDateTime LocalOf(time_t at, bool floats) {
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(qint64(at), QTimeZone::utc());
    return floats ? QDateTime(utc.date(), utc.time()) : utc.toLocalTime();
}

icaltimetype Utc(const QDateTime& at) {
    return icaltime_from_timet_with_zone(time_t(at.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

QString FirstError(icalcomponent* c) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY))
        return Text(icalproperty_get_xlicerror(p));
    for (icalcomponent* k = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); k;
         k = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        if (QString e = FirstError(k); !e.isEmpty())
            return e;
    return {};
}

constexpr qint64 kMaxOccurrences = 400000;

qint64 Listed(const short* values, int size) {
    int n = 0;
    while (n < size && values[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return qMax(n, 1);
}

// How many occurrences a rule can make in a day, at most.
qint64 PerDay(const icalrecurrencetype& rule) {
    const qint64 seconds = Listed(rule.by_second, ICAL_BY_SECOND_SIZE);
    const qint64 minutes = Listed(rule.by_minute, ICAL_BY_MINUTE_SIZE);
    const qint64 hours = Listed(rule.by_hour, ICAL_BY_HOUR_SIZE);
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        return 86400;
    case ICAL_MINUTELY_RECURRENCE:
        return 1440 * seconds;
    case ICAL_HOURLY_RECURRENCE:
        return 24 * minutes * seconds;
    default:
        return hours * minutes * seconds;
    }
}

struct Occurrence {
    QDate day;
    QTime start;
    QTime end;
};

struct Reader {
    Range range;
    QDate openEnd; // where an endless recurrence stops when the range has no end
    QMap<QDate, QString> journals;
    QList<CalendarPlan::Event> events;

    bool InRange(const QDate& day) const {
        return (!range.first.isValid() || day >= range.first) &&
               (!range.last.isValid() || day <= range.last);
    }

    void Journal(icalcomponent* v) {
        const icaltimetype start = icalcomponent_get_dtstart(v);
        if (icaltime_is_null_time(start))
            return;
        const QDate day = LocalOf(start).date();
        QStringList parts;
        for (icalproperty* p = icalcomponent_get_first_property(v, ICAL_DESCRIPTION_PROPERTY); p;
             p = icalcomponent_get_next_property(v, ICAL_DESCRIPTION_PROPERTY))
            if (const QString d = Text(icalproperty_get_description(p)); !d.isEmpty())
                parts << d;
        if (parts.isEmpty() || !InRange(day))
            return;
        QString& text = journals[day];
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                parts.join(QStringLiteral("\n\n"));
    }

    void Event(icalcomponent* v) {
        const icaltimetype start = icalcomponent_get_dtstart(v);
        if (icaltime_is_null_time(start))
            return;
        CalendarStore::DayEvent e;
        const QString summary = Text(icalcomponent_get_summary(v)).trimmed();
        const QString description = Text(icalcomponent_get_description(v));
        if (icalproperty* c = icalcomponent_get_first_property(v, ICAL_CATEGORIES_PROPERTY))
            e.type = Text(icalproperty_get_categories(c)).section(QLatin1Char(','), 0, 0).trimmed();
        if (e.type.isEmpty())
            e.type = summary;
        if (e.type.isEmpty())
            e.type = QStringLiteral("Event");
        // A summary that is not the type is kept with the details rather than lost.
        e.details = description;
        if (!summary.isEmpty() && summary.compare(e.type, Qt::CaseInsensitive) != 0)
            e.details = description.isEmpty() ? summary : summary + QLatin1Char('\n') + description;

        const bool floats = Floats(start);
        const bool recurs = icalcomponent_get_first_property(v, ICAL_RRULE_PROPERTY) ||
                            icalcomponent_get_first_property(v, ICAL_RDATE_PROPERTY);
        if (!recurs) {
            const QDateTime from = LocalOf(start);
            const icaltimetype finish = icalcomponent_get_dtend(v);
            const QDateTime to =
                icaltime_is_null_time(finish) || icaltime_is_date(start) ? from : LocalOf(finish);
            Add(e, {from.date(), from.time(), to.time()});
            return;
        }
        const QDate first = range.first.isValid() ? range.first : LocalOf(start).date();
        QDate last = range.last.isValid() ? range.last : openEnd;
        // Only one a day is kept, but libical walks every occurrence: a rule that makes many a
        // day is walked over fewer days, so no file can keep the import busy for minutes.
        for (icalproperty* r = icalcomponent_get_first_property(v, ICAL_RRULE_PROPERTY); r;
             r = icalcomponent_get_next_property(v, ICAL_RRULE_PROPERTY))
            last = qMin(last, first.addDays(qMax<qint64>(
                                  2, kMaxOccurrences / PerDay(icalproperty_get_rrule(r)))));
        struct Span {
            Reader* reader;
            CalendarStore::DayEvent* event;
            bool floats;
            bool allDay;
            QSet<QDate> days;
        } span{this, &e, floats, bool(icaltime_is_date(start)), {}};
        icalcomponent_foreach_recurrence(
            v, Utc(first.startOfDay(QTimeZone::utc()).addDays(-1)),
            Utc(last.addDays(2).startOfDay(QTimeZone::utc())),
            [](icalcomponent*, icaltime_span* s, void* data) {
                auto* sp = static_cast<Span*>(data);
                const QDateTime from = LocalOf(s->start, sp->floats);
                if (sp->days.contains(from.date()))
                    return;
                sp->days.insert(from.date());
                const QDateTime to = sp->allDay ? from : LocalOf(s->end, sp->floats);
                sp->reader->Add(*sp->event, {from.date(), from.time(), to.time()});
            },
            &span);
    }

    void Add(CalendarStore::DayEvent e, const Occurrence& at) {
        if (!at.day.isValid() || !InRange(at.day))
            return;
        e.start = at.start;
        e.end = at.end;
        events.append({at.day, e});
    }

    void Walk(icalcomponent* c) {
        for (icalcomponent* k = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); k;
             k = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(k)) {
            case ICAL_VCALENDAR_COMPONENT:
                Walk(k);
                break;
            case ICAL_VEVENT_COMPONENT:
                Event(k);
                break;
            case ICAL_VJOURNAL_COMPONENT:
                Journal(k);
                break;
            default:
                break;
            }
        }
    }
};

QString Folded(const QString& s) {
    return s.toCaseFolded();
}

} // namespace

int CalendarPlan::JournalsNew() const {
    return int(std::count_if(journals.begin(), journals.end(),
                             [](const Journal& j) { return !j.appended; }));
}

int CalendarPlan::JournalsAppended() const {
    return int(journals.size()) - JournalsNew();
}

CalendarPlan PlanCalendar(const QByteArray& text, const Range& range, const QString& source) {
    if (const QString fault = FirstFault(text); !fault.isEmpty())
        throw Refused(source, fault);
    Component root(icalparser_parse_string(text.constData()));
    if (!root)
        throw Refused(source, QStringLiteral("libical could not read it"));
    if (const QString error = FirstError(root.get()); !error.isEmpty())
        throw Refused(source, error);

    Reader reader;
    reader.range = range;
    reader.openEnd = QDate(QDate::currentDate().year() + 1, 12, 31);
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT)
        reader.Walk(root.get());
    else
        for (icalcomponent* c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            reader.Walk(c);

    CalendarPlan plan;
    QDate first, last;
    auto Span = [&](const QDate& d) {
        first = first.isValid() ? qMin(first, d) : d;
        last = last.isValid() ? qMax(last, d) : d;
    };
    for (auto it = reader.journals.cbegin(); it != reader.journals.cend(); ++it)
        Span(it.key());
    for (const auto& e : reader.events)
        Span(e.day);
    if (!first.isValid())
        return plan;

    QHash<QDate, QString> stored;
    for (const auto& j : CalendarStore::JournalsBetween(first, last))
        stored.insert(j.day, j.text);
    for (auto it = reader.journals.cbegin(); it != reader.journals.cend(); ++it) {
        const QString had = stored.value(it.key());
        if (had.trimmed().isEmpty())
            plan.journals.append({it.key(), it.value(), false});
        else
            plan.journals.append({it.key(), had + QStringLiteral("\n\n") + it.value(), true});
    }

    QSet<QString> held; // day and type, as the table's unique key compares them
    auto Key = [](const QDate& day, const QString& type) {
        return day.toString(Qt::ISODate) + QLatin1Char('\t') + Folded(type);
    };
    for (const auto& e : CalendarStore::EventsBetween(first, last))
        held.insert(Key(e.day, e.event.type));
    QSet<QString> types;
    for (const auto& t : EventTypeStore::All())
        types.insert(Folded(t.name));
    for (const auto& e : reader.events) {
        const QString key = Key(e.day, e.event.type);
        if (held.contains(key)) {
            ++plan.eventsExisting;
            continue;
        }
        held.insert(key);
        plan.events.append(e);
        if (!types.contains(Folded(e.event.type))) {
            types.insert(Folded(e.event.type));
            plan.newTypes << e.event.type;
        }
    }
    return plan;
}

CalendarPlan ReadCalendar(const QString& file, const Range& range) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(
            0, QStringLiteral("The file '%1' cannot be read: %2").arg(file, f.errorString()),
            QStringLiteral("Pimora"), ErrorKind::FileAccess, file);
    return PlanCalendar(f.readAll(), range, file);
}

} // namespace Exchange
