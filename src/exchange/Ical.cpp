// Events and journals as iCalendar. libical builds and reads the text, so its escaping and
// line folding are the standard's; the times of Pimora's events are floating local times.
#include "exchange/Exchange.h"

#include "common/RuntimeError.h"
#include "platform/SafeFile.h"

#include <libical/ical.h>
#include <memory>

namespace Exchange {

namespace {

const QDate kFirstDay(1753, 1, 1);
const QDate kLastDay(9999, 12, 31);

struct Freer {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, Freer>;

RuntimeError Refused(const QString& text, ErrorKind kind = ErrorKind::General) {
    return RuntimeError(0, text, QStringLiteral("Pimora"), kind);
}

QDate FirstOf(const Range& r) {
    return r.first.isValid() ? r.first : kFirstDay;
}
QDate LastOf(const Range& r) {
    return r.last.isValid() ? r.last : kLastDay;
}

icaltimetype Floating(const QDate& day, const QTime& time) {
    icaltimetype t = icaltime_null_time();
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    return t;
}

icaltimetype DateOnly(const QDate& day) {
    icaltimetype t = icaltime_null_date();
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    return t;
}

// Stable across exports: the same day and type make the same UID, whatever else changed.
QByteArray Uid(const QDate& day, const QString& what) {
    return day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + '-' + what.toUtf8().toHex() +
           "@pimora";
}

} // namespace

QByteArray CalendarText(const Range& range, const Progress& progress) {
    const auto journals = CalendarStore::JournalsBetween(FirstOf(range), LastOf(range));
    const auto events = CalendarStore::EventsBetween(FirstOf(range), LastOf(range));
    const int total = int(journals.size() + events.size());
    Component cal(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Pimora//Pimora 0.9.7//EN"));
    const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    int done = 0;
    auto step = [&] {
        ++done;
        return !progress || done % 256 != 0 || progress(done, total);
    };
    for (const auto& e : events) {
        icalcomponent* v = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_component(cal.get(), v);
        const QByteArray type = e.event.type.toUtf8();
        icalcomponent_add_property(v, icalproperty_new_uid(Uid(e.day, e.event.type).constData()));
        icalcomponent_add_property(v, icalproperty_new_dtstamp(stamp));
        icalcomponent_add_property(v, icalproperty_new_dtstart(Floating(e.day, e.event.start)));
        icalcomponent_add_property(v, icalproperty_new_dtend(Floating(e.day, e.event.end)));
        icalcomponent_add_property(v, icalproperty_new_summary(type.constData()));
        icalcomponent_add_property(v, icalproperty_new_categories(type.constData()));
        if (!e.event.details.isEmpty())
            icalcomponent_add_property(
                v, icalproperty_new_description(e.event.details.toUtf8().constData()));
        if (!step())
            return {};
    }
    for (const auto& j : journals) {
        icalcomponent* v = icalcomponent_new(ICAL_VJOURNAL_COMPONENT);
        icalcomponent_add_component(cal.get(), v);
        icalcomponent_add_property(
            v, icalproperty_new_uid(Uid(j.day, QStringLiteral("journal")).constData()));
        icalcomponent_add_property(v, icalproperty_new_dtstamp(stamp));
        icalcomponent_add_property(v, icalproperty_new_dtstart(DateOnly(j.day)));
        icalcomponent_add_property(v, icalproperty_new_description(j.text.toUtf8().constData()));
        if (!step())
            return {};
    }
    char* text = icalcomponent_as_ical_string_r(cal.get());
    QByteArray out(text);
    icalmemory_free_buffer(text);
    if (progress && !progress(total, total))
        return {};
    return out;
}

bool ExportCalendar(const QString& file, const Range& range, const Progress& progress) {
    const QByteArray text = CalendarText(range, progress);
    if (text.isEmpty())
        return false;
    const FileWriteResult written = WriteFileReplacing(file, text, 0600);
    if (!written.ok)
        throw Refused(
            QStringLiteral("The file '%1' cannot be written: %2").arg(file, written.error),
            ErrorKind::FileAccess);
    return true;
}

} // namespace Exchange
