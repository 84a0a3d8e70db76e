// What the engine promises about the Jet dialect the program writes: LIKE with Jet's
// wildcards and case folding, text equality without letter case, ranges of days, times of
// day, and the DDL of the version upgrade. The program's own statements are proved by the
// behaviour tests of each function.
#include "support/AppFolder.h"
#include "support/Render.h"

#include "data/modDB.h"

#include <gtest/gtest.h>

namespace {

QString Matching(const char* pattern) {
    return Rows(QStringLiteral("select thoname from pmthoughts where thodata like '") +
                QString::fromUtf8(pattern) + QStringLiteral("' order by thoname"));
}

TEST(JetDialect, LikeTakesJetsWildcardsAndFoldsCase) {
    AppFolder folder;
    const char* notes[] = {"it's 50% done", "50 percent",  "review abc", "review ac",
                           "Crème Brûlée",  "[bracketed]", "a*b?c#d",    "5 \u212A \u017Ftar"};
    int n = 0;
    for (const char* note : notes) {
        QString text = QString::fromUtf8(note);
        gConn->Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent, "
                                      "thodata) values ('n%1','c','Thoughts','%2')")
                           .arg(++n)
                           .arg(text.replace(QLatin1String("'"), QLatin1String("''"))));
    }
    EXPECT_EQ(Matching("%50[%]%"), QStringLiteral("('n1')")) << "a bracketed % is itself";
    EXPECT_EQ(Matching("%50%"), QStringLiteral("('n1')('n2')"));
    EXPECT_EQ(Matching("%a_c%"), QStringLiteral("('n3')")) << "_ is exactly one character";
    EXPECT_EQ(Matching("%it''s%"), QStringLiteral("('n1')"));
    EXPECT_EQ(Matching("%CRÈME%"), QStringLiteral("('n5')")) << "case folds beyond ASCII";
    EXPECT_EQ(Matching("%creme%"), QString()) << "accents count";
    EXPECT_EQ(Matching("[[]b%"), QStringLiteral("('n6')"));
    EXPECT_EQ(Matching("%review a[!b]%"), QStringLiteral("('n4')"));
    EXPECT_EQ(Matching("%[a-c]bc%"), QStringLiteral("('n3')"));
    EXPECT_EQ(Matching("a*b?c#d"), QStringLiteral("('n7')")) << "*, ? and # are plain here";
    // Letters outside ASCII that fold to ASCII ones (the Kelvin sign, the long s) still match.
    EXPECT_EQ(Matching("%5 k star%"), QStringLiteral("('n8')"));
    EXPECT_EQ(Matching("crème%"), QStringLiteral("('n5')"));
    EXPECT_EQ(Matching("%brûlée"), QStringLiteral("('n5')"));
    EXPECT_EQ(Matching("REVIEW AC"), QStringLiteral("('n4')"));
}

TEST(JetDialect, TextEqualityIgnoresCaseAndDaysAndTimesCompareAsSuch) {
    AppFolder folder;
    gConn->Execute(QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values "
                                  "('Birthday','Cake')"));
    EXPECT_EQ(Count(QStringLiteral("select * from pmCalEvent where calEvent = 'BIRTHDAY'")), 1);

    for (const char* day :
         {"31 Jan 2028", "01 Feb 2028", "29 Feb 2028", "01 Mar 2028", "31 Dec 2027", "01 Jan 2028"})
        gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('%1',"
                                      "'x')")
                           .arg(QString::fromLatin1(day)));
    EXPECT_EQ(Rows(QStringLiteral("select caldate from pmcalendar where caldate between #01 Feb "
                                  "2028# and #29 Feb 2028# order by caldate desc")),
              QStringLiteral("(#2028-02-29#)(#2028-02-01#)"));
    EXPECT_EQ(Rows(QStringLiteral("select caldate from pmcalendar where caldate between #01 Jan "
                                  "2028# and #31 Jan 2028# order by caldate asc")),
              QStringLiteral("(#2028-01-01#)(#2028-01-31#)"));

    gConn->Execute(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,"
                                  "timestart,timeend) values (#05 Dec 2026#,'Birthday','',"
                                  "#12:00:00 AM#,#09:05:07 PM#)"));
    gConn->Execute(
        QStringLiteral("update pmcaleventdate set eventdetails = '', timestart=#12:00:00 "
                       "PM#,timeend=#11:59:59 PM# where caldate = #05 Dec 2026# and "
                       "calevent = 'birthday'"));
    EXPECT_EQ(Rows(QStringLiteral("select timestart, timeend from pmcaleventdate")),
              QStringLiteral("(@12:00:00,@23:59:59)"));
}

TEST(JetDialect, TheUpgradesDdlMakesColumnsLikeTheSchemas) {
    AppFolder folder;
    gConn->Execute(QStringLiteral("drop table pmVersion"));
    gConn->Execute(QStringLiteral("Create table pmVersion (DBVer CHAR CONSTRAINT MyConstraint "
                                  "PRIMARY KEY, VerDate CHAR)"));
    gConn->Execute(QStringLiteral("insert into pmversion (dbver,verdate) values ('0.9.5','05 "
                                  "Dec 2026')"));
    EXPECT_EQ(Rows(QStringLiteral("select * from pmversion")),
              QStringLiteral("('0.9.5','05 Dec 2026')"))
        << "a CHAR column keeps text as text";
    gConn->Execute(QStringLiteral("ALTER TABLE pmPref ADD COLUMN Extra TEXT(1)"));
    gConn->Execute(QStringLiteral("insert into pmpref (pwd, extra) values ('', 'Y')"));
    EXPECT_EQ(Count(QStringLiteral("select * from pmpref where extra = 'y'")), 1)
        << "an added text column ignores case like the others";
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from pmpref")), QStringLiteral("(1)"));
}

} // namespace
