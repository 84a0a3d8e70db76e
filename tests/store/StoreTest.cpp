// The stores write what they are handed into their statements: apostrophes, percent signs,
// quotes and brackets, the last day of a year and a leap day come back as they went in, and a
// search finds what it was asked for and nothing that merely looks like it.
#include "support/AppFolder.h"

#include "common/RuntimeError.h"
#include "data/modDB.h"
#include "store/CalendarStore.h"
#include "store/EventTypeStore.h"
#include "store/PreferenceStore.h"
#include "store/ThoughtStore.h"

#include <QDate>
#include <QTime>
#include <gtest/gtest.h>

namespace {

const QDate kYearEnd(2026, 12, 31);
const QDate kNewYear(2027, 1, 1);
const QDate kLeapDay(2028, 2, 29);

QStringList DaysText(const QList<QDate>& days) {
    QStringList out;
    for (const QDate& d : days)
        out << d.toString(Qt::ISODate);
    return out;
}

QStringList Texts(const QList<CalendarStore::Found>& found) {
    QStringList out;
    for (const auto& f : found)
        out << f.day.toString(Qt::ISODate) + QLatin1Char(' ') + f.text;
    return out;
}

TEST(Stores, JournalsKeepTheirTextAndDayAcrossTheYearsEnd) {
    AppFolder folder;
    const QString quoted = QStringLiteral("it's 100% done_ 'twas \"said\" [x] #1#");
    CalendarStore::SaveJournal(kYearEnd, quoted);
    CalendarStore::SaveJournal(kNewYear, QStringLiteral("1000 done, it is"));
    CalendarStore::SaveJournal(kLeapDay, QStringLiteral("  leap  "));
    EXPECT_TRUE(gSQL.contains(QStringLiteral("29 Feb 2028"))) << gSQL.toStdString();

    EXPECT_EQ(CalendarStore::LoadJournal(kYearEnd), quoted);
    EXPECT_EQ(CalendarStore::LoadJournal(kLeapDay), QStringLiteral("leap"));
    EXPECT_EQ(CalendarStore::LoadJournal(QDate(2026, 12, 30)), std::nullopt);
    EXPECT_EQ(DaysText(CalendarStore::JournalDaysBetween(QDate(2026, 12, 1), kYearEnd)),
              QStringList{"2026-12-31"});
    EXPECT_EQ(DaysText(CalendarStore::JournalDaysBetween(kYearEnd, kNewYear)),
              (QStringList{"2026-12-31", "2027-01-01"}));

    // The percent sign is itself and the apostrophe is found; an underscore stays the one
    // character it has always matched.
    EXPECT_EQ(Texts(CalendarStore::SearchJournals(QStringLiteral(" 100% "))),
              QStringList{"2026-12-31 " + quoted});
    EXPECT_EQ(Texts(CalendarStore::SearchJournals(QStringLiteral("done_"))).size(), 2);
    EXPECT_EQ(Texts(CalendarStore::SearchJournals(QStringLiteral("IT'S"))).size(), 1);
    EXPECT_EQ(Texts(CalendarStore::SearchJournals(QStringLiteral("it"))),
              (QStringList{"2027-01-01 1000 done, it is", "2026-12-31 " + quoted}))
        << "newest day first";
    EXPECT_TRUE(CalendarStore::JournalOfDayHolds(kYearEnd, QStringLiteral("'twas")));
    EXPECT_FALSE(CalendarStore::JournalOfDayHolds(kNewYear, QStringLiteral("100%")));

    // A text of blanks removes the row rather than storing an empty journal.
    CalendarStore::SaveJournal(kYearEnd, QStringLiteral("   "));
    EXPECT_EQ(Count("select * from pmcalendar"), 2);
    EXPECT_EQ(CalendarStore::LoadJournal(kYearEnd), std::nullopt);
}

TEST(Stores, EventsAreOnePerDayAndTypeAndFoundByTheirOwnField) {
    AppFolder folder;
    const QString doctor = QStringLiteral("Doctor's 50%");
    EventTypeStore::Save(doctor, QStringLiteral("the clinic's"));
    EventTypeStore::Save(QStringLiteral("Run"), QString());
    EXPECT_TRUE(EventTypeStore::IsKnown(doctor));
    EXPECT_TRUE(EventTypeStore::Exists(doctor));
    EXPECT_FALSE(EventTypeStore::Exists(QStringLiteral("Doctor's 5%")));
    EventTypeStore::Save(doctor, QStringLiteral("moved, it's"));
    ASSERT_EQ(EventTypeStore::All().size(), 2);
    EXPECT_EQ(EventTypeStore::All().front().description, QStringLiteral("moved, it's"));

    CalendarStore::SaveEvent(
        kYearEnd, {doctor, QStringLiteral("bring the 'card'"), QTime(23, 30), QTime(23, 59, 59)});
    CalendarStore::SaveEvent(kYearEnd,
                             {doctor, QStringLiteral("second"), QTime(9, 0), QTime(12, 0)});
    CalendarStore::SaveEvent(
        kNewYear, {QStringLiteral("Run"), QStringLiteral("50 laps"), QTime(0, 0), QTime(1, 0)});
    ASSERT_EQ(CalendarStore::EventsOf(kYearEnd).size(), 1) << "the second save replaced it";
    const auto event = CalendarStore::EventOf(kYearEnd, doctor);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->details, QStringLiteral("second"));
    EXPECT_EQ(event->start, QTime(9, 0));
    EXPECT_EQ(event->end, QTime(12, 0));
    EXPECT_TRUE(EventTypeStore::InUse(doctor));
    EXPECT_EQ(DaysText(CalendarStore::EventDaysBetween(QDate(2026, 12, 1), kYearEnd)),
              QStringList{"2026-12-31"});

    using CalendarStore::EventFields;
    EXPECT_EQ(CalendarStore::SearchEvents(QStringLiteral("50%"), EventFields::Type).size(), 1);
    EXPECT_EQ(CalendarStore::SearchEvents(QStringLiteral("50%"), EventFields::Details).size(), 0)
        << "\"50 laps\" holds no percent sign";
    EXPECT_EQ(CalendarStore::SearchEvents(QStringLiteral("50"), EventFields::TypeOrDetails).size(),
              2);

    CalendarStore::DeleteEvent(kYearEnd, doctor);
    EXPECT_FALSE(EventTypeStore::InUse(doctor));
    EventTypeStore::Delete(doctor);
    EXPECT_EQ(EventTypeStore::Names(), QStringList{"Run"});
}

TEST(Stores, ThoughtsKeepCaptionsNotesAndTheirTree) {
    AppFolder folder;
    ThoughtStore::Add(QStringLiteral("a'1"), QStringLiteral("Thoughts"));
    ThoughtStore::Add(QStringLiteral("b%2"), QStringLiteral("a'1"));
    EXPECT_EQ(ErrorOf([] {
                  ThoughtStore::Add(QStringLiteral("a'1"), QStringLiteral("Thoughts"));
              }).Kind(),
              ErrorKind::Constraint);
    ThoughtStore::RenameByDialog(QStringLiteral("a'1"), QStringLiteral("  Ahmad's  "));
    ThoughtStore::RenameInPlace(QStringLiteral("b%2"), QStringLiteral("half_done"));
    ThoughtStore::SaveNote(QStringLiteral("b%2"), QStringLiteral("  50% of it's there  "));

    ASSERT_EQ(ThoughtStore::TopLevel().size(), 1);
    EXPECT_EQ(ThoughtStore::TopLevel().front().caption, QStringLiteral("Ahmad's"));
    ASSERT_EQ(ThoughtStore::ChildrenOf(QStringLiteral("a'1")).size(), 1);
    EXPECT_EQ(ThoughtStore::ChildrenOf(QStringLiteral("a'1")).front().name, QStringLiteral("b%2"));
    EXPECT_TRUE(ThoughtStore::HasChildren(QStringLiteral("a'1")));
    EXPECT_FALSE(ThoughtStore::HasChildren(QStringLiteral("b%2")));
    EXPECT_EQ(ThoughtStore::NoteOf(QStringLiteral("b%2")), QStringLiteral("50% of it's there"));
    EXPECT_EQ(ThoughtStore::NoteOf(QStringLiteral("none")), std::nullopt);

    EXPECT_EQ(ThoughtStore::Search(QStringLiteral("50%")).size(), 1);
    EXPECT_EQ(ThoughtStore::Search(QStringLiteral("5%")).size(), 0);
    EXPECT_EQ(ThoughtStore::Search(QStringLiteral("AHMAD'S")).size(), 1) << "by caption";
    EXPECT_TRUE(ThoughtStore::NoteHolds(QStringLiteral("b%2"), QStringLiteral("it's")));
    EXPECT_FALSE(ThoughtStore::NoteHolds(QStringLiteral("a'1"), QStringLiteral("it's")));

    EXPECT_EQ(ThoughtStore::Count(), QStringLiteral("2"));
    ThoughtStore::Delete(QStringLiteral("b%2"));
    EXPECT_EQ(ThoughtStore::Count(), QStringLiteral("1"));
    ThoughtStore::Clear();
    EXPECT_EQ(Count("select * from pmThoughts"), 0);
}

TEST(Stores, ThePreferencesRowTakesAnyPassword) {
    AppFolder folder;
    EXPECT_EQ(PreferenceStore::Load(), std::nullopt);
    PreferenceStore::AddEmptyRow();
    PreferenceStore::SetPassword(QStringLiteral("it's%_'"));
    EXPECT_EQ(PreferenceStore::StoredPassword(), QStringLiteral("it's%_'"));
    PreferenceStore::SetMinimizeToSystray(true);
    PreferenceStore::SetEnableToolTips(false);
    const auto row = PreferenceStore::Load();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->minimizeToSystray, QStringLiteral("Y"));
    EXPECT_EQ(row->enableToolTips, QStringLiteral("N"));
    PreferenceStore::RemovePassword();
    EXPECT_EQ(PreferenceStore::StoredPassword(), QString());
}

} // namespace
