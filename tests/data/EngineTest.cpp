#include "support/AppFolder.h"
#include "support/Render.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"

#include <QDate>
#include <QFile>
#include <QTime>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

RuntimeError ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return RuntimeError(0, {});
}

TEST(Engine, LongTextsAndAnyCharacterSurvive) {
    AppFolder folder;
    // 1 MB with apostrophes far beyond 40000, a NUL and text outside Latin-1.
    QString journal;
    while (journal.size() < 1'000'000)
        journal += QStringLiteral("Ahmad's diary — día de año nuevo, 日記 ");
    journal.insert(45'000, QChar(0));
    journal += QStringLiteral("'end'");
    QString quoted = journal;
    gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 Dec "
                                  "2026','") +
                   FixQuote(quoted) + QStringLiteral("')"));
    Recordset rs;
    rs.Open(QStringLiteral("select caljournal from pmcalendar where caldate =#05 Dec 2026#"),
            *gConn);
    ASSERT_FALSE(rs.Eof());
    const QString back = rs.Field(QStringLiteral("CALJOURNAL")).toString();
    EXPECT_EQ(back.size(), journal.size());
    EXPECT_TRUE(back == journal);

    QString changed = journal + QStringLiteral(" it's longer");
    QString changedQuoted = changed;
    gConn->Execute(QStringLiteral("update pmcalendar set caljournal = '") +
                   FixQuote(changedQuoted) + QStringLiteral("' where caldate = #05 Dec 2026#"));
    EXPECT_TRUE(Scalar(QStringLiteral("select caljournal from pmcalendar")).toString() == changed);
}

TEST(Engine, FieldsByNameAnyCaseOrPositionWithTypedValues) {
    AppFolder folder;
    gConn->Execute(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,"
                                  "timestart,timeend) values (#31 Dec 2026#,'Party',"
                                  "NULL,#11:30:00 PM#,#12:00:00 AM#)"));
    Recordset rs;
    rs.Open(QStringLiteral("select * from pmcaleventdate"), *gConn);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Field(QStringLiteral("CalDate")).toDate(), QDate(2026, 12, 31));
    EXPECT_EQ(rs.Field(QStringLiteral("TIMESTART")).toTime(), QTime(23, 30, 0));
    EXPECT_EQ(rs.Field(4).toTime(), QTime(0, 0, 0));
    EXPECT_TRUE(rs.Field(QStringLiteral("eventdetails")).isNull());
    EXPECT_EQ(NullToEmpty(rs.Field(QStringLiteral("eventdetails"))), QString());
    EXPECT_EQ(NullToEmpty(rs.Field(QStringLiteral("timestart"))), QStringLiteral("11:30:00 PM"));
    EXPECT_EQ(ErrorOf([&] { rs.Field(QStringLiteral("nosuch")); }).Number(), 3265);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(ErrorOf([&] { rs.Field(0); }).Number(), 3021);
    rs.Close();
    EXPECT_EQ(rs.State(), ObjectState::Closed);
}

TEST(Engine, RecordsetIsASnapshot) {
    AppFolder folder;
    gConn->Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent) values "
                                  "('1','a', 'Thoughts')"));
    gConn->Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent) values "
                                  "('2','b', 'Thoughts')"));
    Recordset rs;
    rs.Open(
        QStringLiteral("select * from pmThoughts where thoParent = 'Thoughts' order by thoname"),
        *gConn);
    gConn->Execute(QStringLiteral("delete from pmThoughts"));
    int seen = 0;
    for (; !rs.Eof(); rs.MoveNext())
        ++seen;
    EXPECT_EQ(seen, 2);
}

TEST(Engine, StatementsOfOneShapeBindTheirOwnLiterals) {
    AppFolder folder;
    for (int day = 1; day <= 31; ++day)
        gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('%1 Jan "
                                      "2027','day %1')")
                           .arg(day));
    for (int day : {1, 15, 31})
        EXPECT_EQ(Scalar(QStringLiteral("select caljournal from pmcalendar where caldate =#%1 Jan "
                                        "2027#")
                             .arg(day, 2, 10, QLatin1Char('0')))
                      .toString(),
                  QStringLiteral("day %1").arg(day));
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar where caldate between #30 Jan 2027# "
                                   "and #02 Feb 2027# order by caldate asc")),
              2);
}

TEST(Engine, DatesReadTheWayTheProgramWritesThem) {
    AppFolder folder;
    // The same day written in each form reaches the same row.
    gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('29 Feb "
                                  "2028','leap')"));
    for (const char* form : {"#29 Feb 2028#", "#2028-02-29#", "#2/29/2028#", "#29-Feb-2028#",
                             "#February 29, 2028#", "'29 February 2028'"})
        EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar where caldate = ") +
                        QString::fromLatin1(form)),
                  1)
            << form;
    // A day that does not exist is refused, not stored.
    const RuntimeError bad = ErrorOf([] {
        gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('29 "
                                      "Feb 2027','no')"));
    });
    EXPECT_EQ(bad.Description(), QStringLiteral("Data type mismatch in criteria expression."));
    const RuntimeError badLiteral = ErrorOf(
        [] { Count(QStringLiteral("select * from pmcalendar where caldate = #31 Apr 2026#")); });
    EXPECT_EQ(badLiteral.Kind(), ErrorKind::Syntax);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 1);
}

TEST(Engine, FailuresComeWithTheirKind) {
    AppFolder folder;
    const RuntimeError missing =
        ErrorOf([] { Count(QStringLiteral("select * from pmversion2 order by verdate desc")); });
    EXPECT_EQ(missing.Kind(), ErrorKind::MissingTable);
    EXPECT_EQ(missing.Detail(), QStringLiteral("pmversion2"));
    EXPECT_TRUE(missing.Description().contains(
        QStringLiteral("engine cannot find the input table or query 'pmversion2'")));

    gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 Dec "
                                  "2026','a')"));
    const RuntimeError twice = ErrorOf([] {
        gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 "
                                      "Dec 2026','b')"));
    });
    EXPECT_EQ(twice.Kind(), ErrorKind::Constraint);

    // One statement per text: a second one is refused, not run.
    const RuntimeError chained = ErrorOf([] {
        gConn->Execute(QStringLiteral("update pmcalendar set caljournal = 'x'; delete from "
                                      "pmcalendar"));
    });
    EXPECT_EQ(chained.Kind(), ErrorKind::Syntax);
    EXPECT_EQ(Scalar(QStringLiteral("select caljournal from pmcalendar")).toString(),
              QStringLiteral("a"));

    EXPECT_EQ(
        ErrorOf([] { gConn->Execute(QStringLiteral("update pmcalendar set x = 'it")); }).Kind(),
        ErrorKind::Syntax);
    const RuntimeError column = ErrorOf([] {
        gConn->Execute(QStringLiteral("ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)"));
    });
    EXPECT_EQ(column.Kind(), ErrorKind::General);
    EXPECT_FALSE(column.Description().isEmpty());
}

TEST(Engine, OpenTellsWhatAFileIs) {
    AppFolder folder(AppFolder::WithTemplate);
    auto openError = [&](const QString& file) {
        return ErrorOf([&] {
            Connection c;
            c.Open(QStringLiteral("Provider=x;Data Source=") + file + QStringLiteral(";"));
        });
    };
    const QString missing = folder.File(QStringLiteral("pengkalan.dat"));
    const RuntimeError notFound = openError(missing);
    EXPECT_EQ(notFound.Kind(), ErrorKind::FileNotFound);
    EXPECT_EQ(notFound.Detail(), missing);
    EXPECT_EQ(notFound.Description(),
              QStringLiteral("Could not find file '") + missing + QStringLiteral("'."));

    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(folder.File(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QByteArray jet(4096, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const QString jetFile = write(QStringLiteral("jet.dat"), jet);
    const RuntimeError jetError = openError(jetFile);
    EXPECT_EQ(jetError.Kind(), ErrorKind::NotADatabase);
    EXPECT_TRUE(jetError.Description().contains(QStringLiteral("Microsoft Jet")));

    const QString junk = write(QStringLiteral("junk.dat"), QByteArray(5000, 'x'));
    EXPECT_EQ(openError(junk).Kind(), ErrorKind::NotADatabase);
    const QString empty = write(QStringLiteral("empty.dat"), QByteArray());
    EXPECT_EQ(openError(empty).Kind(), ErrorKind::NotADatabase);
    // Refusing a file never changes it.
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::ReadOnly));
    EXPECT_EQ(j.readAll(), QByteArray(5000, 'x'));

    // A damaged database: a real header over a ruined body.
    QFile t(folder.File(QStringLiteral("kosg.dat")));
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    QByteArray damaged = t.readAll();
    for (qsizetype i = 100; i < damaged.size(); ++i)
        damaged[i] = static_cast<char>(0xA5);
    const QString damagedFile = write(QStringLiteral("damaged.dat"), damaged);
    EXPECT_EQ(openError(damagedFile).Kind(), ErrorKind::NotADatabase);
}

void RawExec(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

QByteArray Contents(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(Engine, AnotherProgramsDatabaseIsRefusedAndOursFromBeforeTheStampOpens) {
    AppFolder folder(AppFolder::WithTemplate);
    const QString foreign = folder.File(QStringLiteral("notes.db"));
    RawExec(foreign, "create table notes (body text); insert into notes values ('mine')");
    const QByteArray before = Contents(foreign);
    const RuntimeError refused = ErrorOf([&] {
        Connection c;
        c.Open(QStringLiteral("Data Source=") + foreign);
    });
    EXPECT_EQ(refused.Kind(), ErrorKind::NotADatabase);
    EXPECT_TRUE(refused.Description().contains(QStringLiteral("not a Pimora database")));
    EXPECT_EQ(Contents(foreign), before);
    EXPECT_FALSE(QFile::exists(foreign + QStringLiteral("-wal")));

    // An empty SQLite file is no Pimora database either.
    const QString empty = folder.File(QStringLiteral("empty.db"));
    RawExec(empty, "pragma user_version = 1");
    EXPECT_EQ(ErrorOf([&] {
                  Connection c;
                  c.Open(QStringLiteral("Data Source=") + empty);
              }).Kind(),
              ErrorKind::NotADatabase);

    folder.CopyTemplateTo(QStringLiteral("old.dat"));
    const QString old = folder.File(QStringLiteral("old.dat"));
    RawExec(old, "pragma application_id = 0");
    Connection c;
    c.Open(QStringLiteral("Data Source=") + old);
    EXPECT_EQ(c.State(), ObjectState::Open);
}

TEST(Engine, ClosedConnectionIsComplete) {
    AppFolder folder;
    gConn->Execute(QStringLiteral("insert into pmpref (pwd) values ('secret')"));
    gConn->Close();
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("pengkalan.dat-wal"))));
    EXPECT_EQ(ErrorOf([] { gConn->Close(); }).Number(), 3704);
    folder.Connect();
    EXPECT_EQ(Rows(QStringLiteral("select pwd from pmpref")), QStringLiteral("('secret')"));
}

TEST(Engine, TransactionsUndoSchemaChanges) {
    AppFolder folder;
    gConn->BeginTrans();
    gConn->Execute(QStringLiteral("create table pmExtra (d DATE)"));
    gConn->Execute(QStringLiteral("insert into pmExtra (d) values ('05 Dec 2026')"));
    gConn->RollbackTrans();
    EXPECT_EQ(ErrorOf([] { Count(QStringLiteral("select * from pmExtra")); }).Kind(),
              ErrorKind::MissingTable);
}

} // namespace
