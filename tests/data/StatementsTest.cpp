// Every statement text the program runs, on a real database file, with its effect.
#include "support/AppFolder.h"
#include "support/Render.h"

#include "data/modDB.h"

#include <gtest/gtest.h>

namespace {

struct StatementCase {
    const char* name;
    std::vector<QString> setup; // run first
    QString sql;                // the statement under test
    QString check;              // for a non-select: the query that shows its effect
    QString expected;           // Rows() of the select, or of check
};

void Seed() {
    for (const char* s : {
             "insert into pmpref (pwd) values ('')",
             "insert into pmcalevent (calevent,caleventdesc) values ('Birthday','Cake day')",
             "insert into pmcalevent (calevent,caleventdesc) values ('meeting','Work')",
             "insert into pmcalendar (caldate,caljournal) values ('30 Nov 2026','last of "
             "november')",
             "insert into pmcalendar (caldate,caljournal) values ('01 Dec 2026','first')",
             "insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026','it''s 50% done')",
             "insert into pmcalendar (caldate,caljournal) values ('31 Dec 2026','year end')",
             "insert into pmcalendar (caldate,caljournal) values ('01 Jan 2027','new year')",
             "insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,timeend) values "
             "(#05 Dec 2026#,'Birthday','cake at noon',#09:30:00 AM#,#09:05:07 PM#)",
             "insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,timeend) values "
             "(#31 Dec 2026#,'meeting','review a_c',#12:00:00 AM#,#12:00:00 PM#)",
             "insert into pmthoughts (thoname, thocaption, thoparent) values ('20261205093000',"
             "'Alpha', 'Thoughts')",
             "insert into pmthoughts (thoname, thocaption, thoparent) values ('20261205093001',"
             "'Beta', 'Thoughts')",
             "insert into pmthoughts (thoname, thocaption, thoparent) values ('20261205093002',"
             "'Café', '20261205093000')",
             "update pmThoughts set thoData = 'crème brûlée' where thoName = '20261205093002'",
         })
        gConn->Execute(QString::fromUtf8(s));
}

const QString kBirthday =
    QStringLiteral("(#2026-12-05#,'Birthday','cake at noon',@09:30:00,@21:05:07)");
const QString kMeeting =
    QStringLiteral("(#2026-12-31#,'meeting','review a_c',@00:00:00,@12:00:00)");

const StatementCase kCases[] = {
    // Start-up and the password row.
    {"password select", {}, "select pwd from pmpref", {}, "('')"},
    {"password row insert",
     {"delete from pmpref"},
     "insert into pmpref (pwd) values ('')",
     "select pwd from pmpref",
     "('')"},
    {"password set",
     {},
     "update pmpref set pwd = 'O''Brien'",
     "select pwd from pmpref",
     "('O'Brien')"},
    {"password removed",
     {"update pmpref set pwd = 'x'"},
     "update pmpref set pwd  = ''",
     "select pwd from pmpref",
     "('')"},
    {"preferences", {}, "select * from pmpref", {}, "('','yyyy-mm-dd','N','Y')"},
    {"tray on",
     {},
     "update pmpref set minimizetosystray ='Y'",
     "select minimizetosystray from pmpref",
     "('Y')"},
    {"tray off",
     {"update pmpref set minimizetosystray ='Y'"},
     "update pmpref set minimizetosystray ='N'",
     "select MinimizeToSystray from pmpref",
     "('N')"},
    {"hints off",
     {},
     "update pmpref set enabletooltips='N'",
     "select enabletooltips from pmpref",
     "('N')"},
    {"hints on",
     {"update pmpref set enabletooltips='N'"},
     "update pmpref set enabletooltips='Y'",
     "select EnableToolTips from pmpref",
     "('Y')"},

    // Version table and upgrade.
    {"version select",
     {},
     "select * from pmversion order by verdate desc",
     {},
     "('0.9.7','07 Dec 2026')"},
    {"version table created",
     {"drop table pmVersion"},
     "Create table pmVersion (DBVer CHAR CONSTRAINT MyConstraint PRIMARY KEY, VerDate CHAR)",
     "select count(*) from pmversion",
     "(0)"},
    {"version row keeps its date as text",
     {"drop table pmVersion",
      "Create table pmVersion (DBVer CHAR CONSTRAINT MyConstraint PRIMARY KEY, VerDate CHAR)"},
     "insert into pmversion (dbver,verdate) values ('0.9.5','07 Dec 2026')",
     "select dbver, verdate from pmversion",
     "('0.9.5','07 Dec 2026')"},
    {"version update",
     {},
     "update pmVersion set dbver = '0.9.6'",
     "select dbver from pmversion",
     "('0.9.6')"},
    {"column added",
     {"drop table pmPref", "create table pmPref (pwd TEXT)",
      "insert into pmpref (pwd) values ('')"},
     "ALTER TABLE pmPref ADD COLUMN ShortDateFormat TEXT(25)",
     "select * from pmpref",
     "('',NULL)"},
    {"short date format set",
     {"drop table pmPref", "create table pmPref (pwd TEXT)", "insert into pmpref (pwd) values ('')",
      "ALTER TABLE pmPref ADD COLUMN ShortDateFormat TEXT(25)"},
     "update pmPref set ShortDateFormat = 'yyyy-mm-dd'",
     "select shortdateformat from pmpref",
     "('yyyy-mm-dd')"},
    {"tray column added",
     {"drop table pmPref", "create table pmPref (pwd TEXT)",
      "insert into pmpref (pwd) values ('')"},
     "ALTER TABLE pmPref ADD COLUMN MinimizeToSystray TEXT(1)",
     "select minimizetosystray from pmpref",
     "(NULL)"},
    {"tray column set",
     {"drop table pmPref", "create table pmPref (pwd TEXT)", "insert into pmpref (pwd) values ('')",
      "ALTER TABLE pmPref ADD COLUMN MinimizeToSystray TEXT(1)"},
     "update pmPref set MinimizeToSystray = 'N'",
     "select minimizetosystray from pmpref",
     "('N')"},
    {"hints column added and set",
     {"drop table pmPref", "create table pmPref (pwd TEXT)", "insert into pmpref (pwd) values ('')",
      "ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)"},
     "update pmPref set EnableToolTips = 'Y'",
     "select enabletooltips from pmpref",
     "('Y')"},
    {"added text column ignores case",
     {"drop table pmPref", "create table pmPref (pwd TEXT)", "insert into pmpref (pwd) values ('')",
      "ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)",
      "update pmPref set EnableToolTips = 'Y'"},
     "select count(*) from pmpref where enabletooltips = 'y'",
     {},
     "(1)"},

    // Month grid: ranges of days, across month and year ends.
    {"journal days of a month",
     {},
     "select * from pmcalendar where caldate between #01 Dec 2026# and #31 Dec 2026# order by "
     "caldate asc",
     {},
     "(#2026-12-01#,'first')(#2026-12-05#,'it's 50% done')(#2026-12-31#,'year end')"},
    {"journal days of the next year's month",
     {},
     "select * from pmcalendar where caldate between #01 Jan 2027# and #31 Jan 2027# order by "
     "caldate asc",
     {},
     "(#2027-01-01#,'new year')"},
    {"journal days of a leap February",
     {"insert into pmcalendar (caldate,caljournal) values ('29 Feb 2028','leap')",
      "insert into pmcalendar (caldate,caljournal) values ('01 Mar 2028','march')"},
     "select * from pmcalendar where caldate between #01 Feb 2028# and #29 Feb 2028# order by "
     "caldate asc",
     {},
     "(#2028-02-29#,'leap')"},
    {"event days of a month",
     {},
     "select * from pmcaleventdate where caldate between #01 Dec 2026# and #31 Dec 2026# order "
     "by caldate asc",
     {},
     kBirthday + kMeeting},

    // Day journal.
    {"journal of a day",
     {},
     "select caljournal from pmcalendar where caldate =#05 Dec 2026#",
     {},
     "('it's 50% done')"},
    {"journal row exists",
     {},
     "select caldate from pmcalendar where caldate =#31 Dec 2026#",
     {},
     "(#2026-12-31#)"},
    {"journal row missing",
     {},
     "select caldate from pmcalendar where caldate =#06 Dec 2026#",
     {},
     ""},
    {"journal insert turns its quoted day into a date",
     {},
     "insert into pmcalendar (caldate,caljournal) values ('06 Dec 2026','Tom''s ''day''')",
     "select * from pmcalendar where caldate = #2026-12-06#",
     "(#2026-12-06#,'Tom's 'day'')"},
    {"journal update",
     {},
     "update pmcalendar set caljournal = 'rewritten' where caldate = #05 Dec 2026#",
     "select caljournal from pmcalendar where caldate =#05 Dec 2026#",
     "('rewritten')"},
    {"journal delete",
     {},
     "delete from pmcalendar where caldate = #05 Dec 2026#",
     "select count(*) from pmcalendar",
     "(4)"},

    // Day events.
    {"event types in order",
     {},
     "select calevent from pmCalEvent order by calevent",
     {},
     "('Birthday')('meeting')"},
    {"events of a day",
     {},
     "select * from pmcaleventdate where caldate =#05 Dec 2026#",
     {},
     kBirthday},
    {"event type by name ignores case",
     {},
     "select * from pmCalEvent where calEvent = 'BIRTHDAY'",
     {},
     "('Birthday','Cake day')"},
    {"event of a day by type",
     {},
     "select caldate, calevent from pmcaleventdate where caldate = #05 Dec 2026# and calevent = "
     "'Birthday'",
     {},
     "(#2026-12-05#,'Birthday')"},
    {"event update",
     {},
     "update pmcaleventdate set eventdetails = 'cake''s time', timestart=#10:15:00 AM#,timeend=#"
     "11:59:59 PM# where caldate = #05 Dec 2026# and calevent = 'Birthday'",
     "select * from pmcaleventdate where caldate =#05 Dec 2026#",
     "(#2026-12-05#,'Birthday','cake's time',@10:15:00,@23:59:59)"},
    {"event insert",
     {},
     "insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,timeend) values (#01 "
     "Jan 2027#,'meeting','kick-off',#12:00:00 AM#,#12:30:00 AM#)",
     "select * from pmcaleventdate where caldate =#01 Jan 2027#",
     "(#2027-01-01#,'meeting','kick-off',@00:00:00,@00:30:00)"},
    {"event delete",
     {},
     "delete from pmcaleventdate where caldate = #05 Dec 2026# and calevent = 'Birthday'",
     "select * from pmcaleventdate order by caldate",
     kMeeting},
    {"event list click",
     {},
     "select * from pmcaleventdate where caldate =#31 Dec 2026# and calevent = 'Meeting'",
     {},
     kMeeting},

    // Event types.
    {"event types with descriptions",
     {},
     "select calevent,caleventdesc from pmcalevent order by calevent asc",
     {},
     "('Birthday','Cake day')('meeting','Work')"},
    {"event type lookup",
     {},
     "select * from pmcalevent where calevent = 'meeting'",
     {},
     "('meeting','Work')"},
    {"event type insert",
     {},
     "insert into pmcalevent (calevent,caleventdesc) values ('O''Brien''s day','  spaced  ')",
     "select * from pmcalevent where calevent = 'o''brien''s DAY'",
     "('O'Brien's day','  spaced  ')"},
    {"event type description update",
     {},
     "update pmcalevent set caleventdesc = 'Gifts' where calevent = 'birthday'",
     "select caleventdesc from pmcalevent where calevent = 'Birthday'",
     "('Gifts')"},
    {"event type in use",
     {},
     "select calevent from pmcaleventdate where calevent  = 'MEETING'",
     {},
     "('meeting')"},
    {"event type delete",
     {},
     "Delete from pmCalEvent where calevent = 'Meeting'",
     "select calevent from pmCalEvent order by calevent",
     "('Birthday')"},

    // Calendar search: Jet wildcards, escaped percent signs, apostrophes.
    {"journal search with apostrophe",
     {},
     "select * from pmcalendar where caljournal like '%it''s%' order by caldate desc",
     {},
     "(#2026-12-05#,'it's 50% done')"},
    {"journal search for a percent sign",
     {},
     "select caldate from pmcalendar where caljournal like '%50[%]%' order by caldate desc",
     {},
     "(#2026-12-05#)"},
    {"journal search ignores case",
     {},
     "select caldate from pmcalendar where caljournal like '%YEAR%' order by caldate desc",
     {},
     "(#2027-01-01#)(#2026-12-31#)"},
    {"journal search of one day",
     {},
     "select * from pmCalendar where caldate =#05 Dec 2026# and caljournal like '%done%'",
     {},
     "(#2026-12-05#,'it's 50% done')"},
    {"event search in both",
     {},
     "select * from pmcaleventdate where calevent like '%birth%' or eventdetails like '%birth%' "
     "order by caldate desc",
     {},
     kBirthday},
    {"event search by title",
     {},
     "select * from pmcaleventdate where calevent like '%MEET%' order by caldate desc",
     {},
     kMeeting},
    {"event search underscore is one character",
     {},
     "select * from pmcaleventdate where eventdetails like '%a_c%' order by caldate desc",
     {},
     kMeeting},
    {"event search underscore needs a character",
     {},
     "select * from pmcaleventdate where eventdetails like '%ak_at%' order by caldate desc",
     {},
     ""},

    // Thoughts.
    {"top-level nodes",
     {},
     "select thoname, thocaption from pmThoughts where thoParent = 'Thoughts' order by thoname",
     {},
     "('20261205093000','Alpha')('20261205093001','Beta')"},
    {"children of a node",
     {},
     "select thoname from pmThoughts where thoParent = '20261205093000'",
     {},
     "('20261205093002')"},
    {"node insert",
     {},
     "insert into pmthoughts (thoname, thocaption, thoparent) values ('20261207101500','New "
     "Node', '20261205093001')",
     "select thocaption, thoparent, thodata from pmthoughts where thoname = '20261207101500'",
     "('New Node','20261205093001',NULL)"},
    {"child names",
     {},
     "select thoname from pmthoughts where thoparent = '20261205093002'",
     {},
     ""},
    {"node delete",
     {},
     "delete from pmthoughts where thoname = '20261205093001'",
     "select count(*) from pmthoughts",
     "(2)"},
    {"node count", {}, "select count(*) from pmthoughts", {}, "(3)"},
    {"caption from the rename box",
     {},
     "update pmThoughts set thoCaption = 'Gamma''s' where thoname = '20261205093001'",
     "select thocaption from pmthoughts where thoname = '20261205093001'",
     "('Gamma's')"},
    {"caption from the label edit",
     {},
     "update pmThoughts set thocaption = '' where thoname = '20261205093001'",
     "select thocaption from pmthoughts where thoname = '20261205093001'",
     "('')"},
    {"clear all thoughts", {}, "delete from pmThoughts", "select count(*) from pmthoughts", "(0)"},
    {"note saved",
     {},
     "update pmThoughts set thoData = 'it''s a note' where thoName = '20261205093000'",
     "select thodata from pmTHoughts where thoname = '20261205093000'",
     "('it's a note')"},
    {"node by name",
     {},
     "select thocaption from pmTHoughts where thoname = '20261205093002'",
     {},
     "('Café')"},
    {"thoughts search folds case beyond ASCII",
     {},
     "select thoname from pmthoughts where thodata like '%CRÈME%' or thocaption like '%CRÈME%'",
     {},
     "('20261205093002')"},
    {"thoughts search by caption",
     {},
     "select thoname from pmthoughts where thodata like '%CAFÉ%' or thocaption like '%CAFÉ%'",
     {},
     "('20261205093002')"},
    {"accents count",
     {},
     "select thoname from pmthoughts where thodata like '%creme%' or thocaption like '%creme%'",
     {},
     ""},
    {"find in one node",
     {},
     "select thoname from pmthoughts where thodata like '%brûlée%' and thoname ='20261205093002'",
     {},
     "('20261205093002')"},
};

void PrintTo(const StatementCase& c, std::ostream* os) {
    *os << c.name;
}

class Statements : public ::testing::TestWithParam<StatementCase> {};

TEST_P(Statements, RunWithTheirEffect) {
    AppFolder folder;
    Seed();
    const StatementCase& c = GetParam();
    for (const QString& s : c.setup)
        gConn->Execute(s);
    if (c.check.isEmpty()) {
        EXPECT_EQ(Rows(c.sql).toStdString(), c.expected.toStdString());
    } else {
        gConn->Execute(c.sql);
        EXPECT_EQ(Rows(c.check).toStdString(), c.expected.toStdString());
    }
}

std::string CaseName(const ::testing::TestParamInfo<StatementCase>& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Program, Statements, ::testing::ValuesIn(kCases), CaseName);

} // namespace
