// What the engine promises about the Jet dialect the program writes: texts of any length and
// character, dates and times in the forms the program uses, LIKE with Jet's wildcards, errors
// by kind. The program's own statements are proved by the behaviour tests of each function.
#include "support/AppFolder.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"

#include <QDate>
#include <QFile>
#include <QTime>
#include <gtest/gtest.h>

namespace {

TEST(Engine, LongTextsAndAnyCharacterSurvive) {
    AppFolder folder;
    // 1 MB with apostrophes far beyond 40000, a NUL and text outside Latin-1.
    QString journal;
    while (journal.size() < 1'000'000)
        journal += "Ahmad's diary — día de año nuevo, 日記 ";
    journal.insert(45'000, QChar(0));
    journal += "'end'";
    QString quoted = journal;
    Exec("insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026','" + FixQuote(quoted) +
         "')");
    const QString back =
        Scalar("select caljournal from pmcalendar where caldate =#05 Dec 2026#").toString();
    EXPECT_EQ(back.size(), journal.size());
    EXPECT_TRUE(back == journal);
    QString changed = journal + " it's longer";
    quoted = changed;
    Exec("update pmcalendar set caljournal = '" + FixQuote(quoted) +
         "' where caldate = #05 Dec 2026#");
    EXPECT_TRUE(Scalar("select caljournal from pmcalendar").toString() == changed);
}

TEST(Engine, ARecordsetIsATypedSnapshotReadByNameOrPosition) {
    AppFolder folder;
    Exec("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,timeend) values "
         "(#31 Dec 2026#,'Party',NULL,#11:30:00 PM#,#12:00:00 AM#)");
    Recordset rs;
    rs.Open("select * from pmcaleventdate", *gConn);
    Exec("delete from pmcaleventdate");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Field("CalDate").toDate(), QDate(2026, 12, 31));
    EXPECT_EQ(rs.Field("TIMESTART").toTime(), QTime(23, 30, 0));
    EXPECT_EQ(rs.Field(4).toTime(), QTime(0, 0, 0));
    EXPECT_TRUE(rs.Field("eventdetails").isNull());
    EXPECT_EQ(NullToEmpty(rs.Field("timestart")), "11:30:00 PM");
    EXPECT_EQ(ErrorOf([&] { rs.Field("nosuch"); }).Number(), 3265);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(ErrorOf([&] { rs.Field(0); }).Number(), 3021);
}

TEST(Engine, DatesAndTimesInEveryFormTheProgramWritesReachTheirRows) {
    AppFolder folder;
    // Month and year ends, a leap day; each statement has the same shape and binds its own day.
    const char* days[] = {"31 Dec 2027", "01 Jan 2028", "31 Jan 2028",
                          "01 Feb 2028", "29 Feb 2028", "01 Mar 2028"};
    for (const char* day : days)
        Exec(QString("insert into pmcalendar (caldate,caljournal) values ('%1','%1')").arg(day));
    for (const char* day : days)
        EXPECT_EQ(Scalar(QString("select caljournal from pmcalendar where caldate =#%1#").arg(day))
                      .toString(),
                  day);
    for (const char* form : {"#29 Feb 2028#", "#2028-02-29#", "#2/29/2028#", "#29-Feb-2028#",
                             "#February 29, 2028#", "'29 February 2028'"})
        EXPECT_EQ(Count(QString("select * from pmcalendar where caldate = ") + form), 1) << form;
    EXPECT_EQ(Rows("select caldate from pmcalendar where caldate between #01 Feb 2028# and #29 "
                   "Feb 2028# order by caldate desc"),
              "(#2028-02-29#)(#2028-02-01#)");
    EXPECT_EQ(Rows("select caldate from pmcalendar where caldate between #01 Jan 2028# and #31 "
                   "Jan 2028# order by caldate asc"),
              "(#2028-01-01#)(#2028-01-31#)");
    // A day that does not exist is refused, not stored.
    EXPECT_EQ(ErrorOf([] {
                  Exec("insert into pmcalendar (caldate,caljournal) values ('29 Feb 2027','no')");
              }).Description(),
              "Data type mismatch in criteria expression.");
    EXPECT_EQ(
        ErrorOf([] { Count("select * from pmcalendar where caldate = #31 Apr 2026#"); }).Kind(),
        ErrorKind::Syntax);
    EXPECT_EQ(Count("select * from pmcalendar"), 6);

    Exec("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,timeend) values "
         "(#05 Dec 2026#,'Birthday','',#12:00:00 AM#,#09:05:07 PM#)");
    Exec("update pmcaleventdate set eventdetails = '', timestart=#12:00:00 PM#,timeend=#11:59:59 "
         "PM# where caldate = #05 Dec 2026# and calevent = 'birthday'");
    EXPECT_EQ(Rows("select timestart, timeend from pmcaleventdate"), "(@12:00:00,@23:59:59)");
}

TEST(Engine, LikeTakesJetsWildcardsAndFoldsCaseAndEqualityIgnoresCase) {
    AppFolder folder;
    const char* notes[] = {"it's 50% done", "50 percent",  "review abc", "review ac",
                           "Crème Brûlée",  "[bracketed]", "a*b?c#d",    "5 \u212A \u017Ftar"};
    int n = 0;
    for (const char* note : notes) {
        QString text = QString::fromUtf8(note);
        Exec(QString("insert into pmthoughts (thoname, thocaption, thoparent, thodata) values "
                     "('n%1','c','Thoughts','%2')")
                 .arg(++n)
                 .arg(FixQuote(text)));
    }
    const std::pair<const char*, const char*> cases[] = {
        {"%50[%]%", "('n1')"},                           // a bracketed % is itself
        {"%50%", "('n1')('n2')"}, {"%a_c%", "('n3')"},   // _ is exactly one character
        {"%it''s%", "('n1')"},    {"%CRÈME%", "('n5')"}, // case folds beyond ASCII
        {"%creme%", ""},                                 // accents count
        {"[[]b%", "('n6')"},      {"%review a[!b]%", "('n4')"}, {"%[a-c]bc%", "('n3')"},
        {"a*b?c#d", "('n7')"},    // *, ? and # are plain here
        {"%5 k star%", "('n8')"}, // the Kelvin sign and the long s fold to ASCII letters
        {"crème%", "('n5')"},     {"%brûlée", "('n5')"},        {"REVIEW AC", "('n4')"},
    };
    for (const auto& [pattern, expected] : cases)
        EXPECT_EQ(Rows(QString("select thoname from pmthoughts where thodata like '%1' order by "
                               "thoname")
                           .arg(QString::fromUtf8(pattern))),
                  expected)
            << pattern;
    Exec("insert into pmcalevent (calevent,caleventdesc) values ('Birthday','Cake')");
    EXPECT_EQ(Count("select * from pmCalEvent where calEvent = 'BIRTHDAY'"), 1);
}

TEST(Engine, FailuresComeWithTheirKind) {
    AppFolder folder;
    const RuntimeError missing =
        ErrorOf([] { Count("select * from pmversion2 order by verdate desc"); });
    EXPECT_EQ(missing.Kind(), ErrorKind::MissingTable);
    EXPECT_EQ(missing.Detail(), "pmversion2");
    EXPECT_TRUE(
        missing.Description().contains("engine cannot find the input table or query 'pmversion2'"));
    Exec("insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026','a')");
    const std::pair<const char*, ErrorKind> cases[] = {
        {"insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026','b')",
         ErrorKind::Constraint},
        // One statement per text: a second one is refused, not run.
        {"update pmcalendar set caljournal = 'x'; delete from pmcalendar", ErrorKind::Syntax},
        {"update pmcalendar set x = 'it", ErrorKind::Syntax},
        {"ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)", ErrorKind::General},
    };
    for (const auto& [sql, kind] : cases)
        EXPECT_EQ(ErrorOf([&] { Exec(sql); }).Kind(), kind) << sql;
    EXPECT_EQ(Rows("select caljournal from pmcalendar"), "('a')");

    gConn->BeginTrans();
    Exec("create table pmExtra (d DATE)");
    Exec("insert into pmExtra (d) values ('05 Dec 2026')");
    gConn->RollbackTrans();
    EXPECT_EQ(ErrorOf([] { Count("select * from pmExtra"); }).Kind(), ErrorKind::MissingTable);
}

TEST(Engine, AClosedConnectionIsCompleteOnDisk) {
    AppFolder folder;
    Exec("insert into pmpref (pwd) values ('secret')");
    gConn->Close();
    EXPECT_FALSE(QFile::exists(folder.File("pengkalan.dat-wal")));
    EXPECT_EQ(ErrorOf([] { gConn->Close(); }).Number(), 3704);
    folder.Connect();
    EXPECT_EQ(Rows("select pwd from pmpref"), "('secret')");
}

} // namespace
