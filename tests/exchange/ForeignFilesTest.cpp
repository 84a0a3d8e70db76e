// .ics files as other programs write them, after the standard's own examples, and broken ones:
// what each is read as, and what is said of a broken one, naming its line.
#include "support/AppFolder.h"

#include "common/RuntimeError.h"
#include "exchange/Exchange.h"

#include <QByteArray>
#include <ctime>
#include <gtest/gtest.h>

namespace {

using namespace Exchange;

const QString kDir = PIMORA_EXCHANGE_DIR "/ics/";

// Local time for the rest of a scope, so a time in another zone has a known local value.
class LocalZone {
public:
    explicit LocalZone(const char* zone)
        : had_(qEnvironmentVariableIsSet("TZ")), before_(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone() {
        if (had_)
            qputenv("TZ", before_);
        else
            qunsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    bool had_;
    QByteArray before_;
};

QString Events(const CalendarPlan& plan) {
    QString out;
    for (const auto& e : plan.events)
        out += QStringLiteral("%1 %2-%3 [%4] %5\n")
                   .arg(e.day.toString(Qt::ISODate), e.event.start.toString("HH:mm"),
                        e.event.end.toString("HH:mm"), e.event.type, e.event.details);
    return out;
}

TEST(ForeignFiles, EachExampleIsReadAsItsAuthorMeantIt) {
    AppFolder folder;
    LocalZone berlin("Europe/Berlin");
    // 09:00 in New York on 2 March 2026 (EST) is 15:00 in Berlin (CET).
    CalendarPlan plan = ReadCalendar(kDir + "timed-tzid.ics", {});
    EXPECT_EQ(Events(plan), "2026-03-02 15:00-17:00 [BUSINESS] Annual Employee Review\n");
    EXPECT_EQ(plan.newTypes, QStringList{"BUSINESS"});

    plan = ReadCalendar(kDir + "all-day.ics", {});
    EXPECT_EQ(Events(plan), "2026-11-02 00:00-00:00 [ANNIVERSARY] Our Blissful Anniversary\n");

    plan = ReadCalendar(kDir + "weekly-exdate.ics", {});
    EXPECT_EQ(Events(plan), "2026-01-05 10:00-10:30 [Team meeting] Weekly status\n"
                            "2026-01-12 10:00-10:30 [Team meeting] Weekly status\n"
                            "2026-01-26 10:00-10:30 [Team meeting] Weekly status\n"
                            "2026-02-02 10:00-10:30 [Team meeting] Weekly status\n")
        << "five weeks, the third taken out";
    plan = ReadCalendar(kDir + "weekly-exdate.ics", {QDate(2026, 1, 10), QDate(2026, 1, 31)});
    EXPECT_EQ(plan.events.size(), 2) << "only the occurrences in the chosen days";

    plan = PlanCalendar("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:h\r\nDTSTART:20260110T220000\r\n"
                        "RRULE:FREQ=HOURLY;COUNT=30\r\nSUMMARY:Ping\r\nEND:VEVENT\r\n"
                        "END:VCALENDAR\r\n",
                        {});
    EXPECT_EQ(Events(plan), "2026-01-10 22:00-22:00 [Ping] \n2026-01-11 00:00-00:00 [Ping] \n"
                            "2026-01-12 00:00-00:00 [Ping] \n")
        << "the first of each day, and none counted as existing";
    EXPECT_EQ(plan.eventsExisting, 0);

    plan = ReadCalendar(kDir + "journal.ics", {});
    ASSERT_EQ(plan.journals.size(), 1);
    EXPECT_EQ(plan.journals[0].day, QDate(2026, 3, 17));
    EXPECT_EQ(plan.journals[0].text,
              "1. Staff meeting: Participants include Joe, Lisa, and Bob. Aurora project plans "
              "were reviewed.\n2. Telephone Conference: ABC Corp. sales representative called to "
              "discuss new printer.");

    plan = ReadCalendar(kDir + "folded.ics", {});
    EXPECT_EQ(Events(plan),
              "2026-07-04 12:00-15:00 [Fête] Pique-nique à Zürich – été\nBring: bread, cheese; "
              "wine, and a long list of things that goes on and on so that the line must be "
              "folded more than once when it is written out by any careful program\n");
}

TEST(ForeignFiles, ABrokenFileIsRefusedNamingItsLineAndNothingIsRead) {
    AppFolder folder;
    const QString tail = ". Nothing was imported.";
    auto Refusal = [](const QString& file) {
        try {
            ReadCalendar(file, {});
        } catch (const RuntimeError& e) {
            return e.Description();
        }
        return QStringLiteral("read without a complaint");
    };
    EXPECT_EQ(Refusal(kDir + "no-end.ics"),
              "The file '" + kDir +
                  "no-end.ics' cannot be imported: line 8: the file ends "
                  "before END:VCALENDAR (BEGIN:VCALENDAR is on line 1)" +
                  tail);
    EXPECT_EQ(Refusal(kDir + "bad-date.ics"),
              "The file '" + kDir +
                  "bad-date.ics' cannot be imported: line 6: \"20260230\" is "
                  "not a date or a date and time" +
                  tail);
    auto TextRefusal = [](const QByteArray& text) {
        try {
            PlanCalendar(text, {}, "x.ics");
        } catch (const RuntimeError& e) {
            return e.Description();
        }
        return QStringLiteral("read without a complaint");
    };
    EXPECT_EQ(TextRefusal("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n"),
              "The file 'x.ics' cannot be imported: line 3: END:VJOURNAL where END:VEVENT was "
              "expected" +
                  tail);
    EXPECT_EQ(TextRefusal("BEGIN:VCALENDAR\nBEGIN:VEVENT\nno colon here\n"),
              "The file 'x.ics' cannot be imported: line 3: \"no colon here\" is not a property" +
                  tail);
    EXPECT_EQ(TextRefusal(""),
              "The file 'x.ics' cannot be imported: line 1: the file is empty" + tail);
}

} // namespace
