#include "support/ScriptedPrompter.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"

#include <QDate>
#include <QTime>
#include <gtest/gtest.h>

TEST(Helpers, QuotesAndPercentSignsAreEscapedInPlace) {
    QString name = QStringLiteral("O'Brien's");
    EXPECT_EQ(FixQuote(name), QStringLiteral("O''Brien''s"));
    EXPECT_EQ(name, QStringLiteral("O''Brien''s"));
    QString empty, lone = QStringLiteral("'"), two = QStringLiteral("''");
    EXPECT_EQ(FixQuote(empty), QString());
    EXPECT_EQ(FixQuote(lone), QStringLiteral("''"));
    EXPECT_EQ(FixQuote(two), QStringLiteral("''''"));

    QString like = QStringLiteral("100%_x");
    EXPECT_EQ(EscapeLikePercent(like), QStringLiteral("100[%]_x"));
    EXPECT_EQ(like, QStringLiteral("100[%]_x"));
    QString twoPct = QStringLiteral("%%");
    EXPECT_EQ(EscapeLikePercent(twoPct), QStringLiteral("[%][%]"));

    // Long texts are supported: an apostrophe far beyond 32767 is doubled like any other.
    QString longText = QString(40000, QLatin1Char('a')) + QLatin1Char('\'');
    EXPECT_EQ(FixQuote(longText).size(), 40002);
}

TEST(Helpers, TrimmingTouchesSpacesOnly) {
    EXPECT_EQ(TrimFixQuote(QStringLiteral("  O'Brien  ")), QStringLiteral("O''Brien"));
    EXPECT_EQ(TrimFixQuote(QStringLiteral("\tx ")), QStringLiteral("\tx"));
    EXPECT_EQ(NullToEmpty(QVariant()), QString());
    EXPECT_EQ(NullToEmpty(QStringLiteral("  abc  ")), QStringLiteral("abc"));
    EXPECT_EQ(NullToEmpty(QVariant(42LL)), QStringLiteral("42"));
    EXPECT_EQ(NullToEmpty(QVariant(QDate(2026, 12, 5))), QStringLiteral("12/5/26"));
    EXPECT_EQ(NullToEmpty(QVariant(QTime(21, 5, 7))), QStringLiteral("9:05:07 PM"));
    try {
        TrimFixQuote(QVariant());
        ADD_FAILURE() << "Null accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Kind(), ErrorKind::InvalidUseOfNull);
    }
}

TEST(Helpers, ErrorBoxHasTwoLinesUnderTheCallersTitle) {
    ScopedPrompter p;
    p->Expect(QStringLiteral("Error: Error while Saving Thought!\r\nDesc: disk on fire"),
              QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    ShowError(QStringLiteral("Error while Saving Thought!"), QStringLiteral("Error!"),
              RuntimeError(1, QStringLiteral("disk on fire")));
}

TEST(VbDates, FormatsAsThePlatformDid) {
    const QDate day(2026, 12, 5);
    EXPECT_EQ(VbFormat(day, QStringLiteral("dd mmm yyyy")), QStringLiteral("05 Dec 2026"));
    EXPECT_EQ(VbFormat(day, QStringLiteral("d mmm yyyy")), QStringLiteral("5 Dec 2026"));
    EXPECT_EQ(VbFormat(day, QStringLiteral("dddd, mmmm d")),
              QStringLiteral("Saturday, December 5"));
    EXPECT_EQ(VbFormat(day, QStringLiteral("yyyy-mm-dd")), QStringLiteral("2026-12-05"));
    EXPECT_EQ(VbFormat(day, QStringLiteral("w q y")), QStringLiteral("7 4 339"));
    EXPECT_EQ(VbFormat(QDate(2026, 1, 1), QStringLiteral("ww")), QStringLiteral("1"));
    EXPECT_EQ(VbFormat(QDate(2026, 12, 31), QStringLiteral("ww")), QStringLiteral("53"));
    EXPECT_EQ(VbFormat(QTime(9, 30, 0), QStringLiteral("hh:mm:ss AMPM")),
              QStringLiteral("09:30:00 AM"));
    EXPECT_EQ(VbFormat(QTime(21, 5, 7), QStringLiteral("hh:mm:ss AMPM")),
              QStringLiteral("09:05:07 PM"));
    EXPECT_EQ(VbFormat(QTime(0, 0, 0), QStringLiteral("hh:mm:ss AMPM")),
              QStringLiteral("12:00:00 AM"));
    EXPECT_EQ(VbFormat(QTime(12, 0, 0), QStringLiteral("h:nn am/pm")), QStringLiteral("12:00 pm"));
    EXPECT_EQ(VbFormat(QTime(13, 0, 0), QStringLiteral("h a/p")), QStringLiteral("1 p"));
    EXPECT_EQ(VbFormat(QTime(21, 5, 7), QStringLiteral("hh:mm:ss")), QStringLiteral("21:05:07"));
    EXPECT_EQ(
        VbFormat(VbDateTime{day, QTime(9, 30, 0), true, true}, QStringLiteral("yyyymmddHhnnss")),
        QStringLiteral("20261205093000"));
    EXPECT_EQ(VbFormat(day, QStringLiteral("\\d \"mm\" m")), QStringLiteral("d mm 12"));
    EXPECT_EQ(VbFormat(VbDateTime{day, QTime(9, 30, 0), true, true}, QString()),
              QStringLiteral("12/5/26 9:30:00 AM"));
}

TEST(VbDates, ReadsEnglishDatesAndTimes) {
    struct Case {
        const char* text;
        QDate date;
        QTime time;
    };
    const Case good[] = {
        {"5 December 2026", QDate(2026, 12, 5), {}},
        {"05 Dec 2026", QDate(2026, 12, 5), {}},
        {"5-Dec-2026", QDate(2026, 12, 5), {}},
        {"december 5, 2026", QDate(2026, 12, 5), {}},
        {"2026-12-05", QDate(2026, 12, 5), {}},
        {"2026-12-05 21:30:00", QDate(2026, 12, 5), QTime(21, 30, 0)},
        {"12/5/2026", QDate(2026, 12, 5), {}},
        {"13/5/2026", QDate(2026, 5, 13), {}},
        {"31 Dec 2026", QDate(2026, 12, 31), {}},
        {"01 Jan 2027", QDate(2027, 1, 1), {}},
        {"29 Feb 2028", QDate(2028, 2, 29), {}},
        {"9:30:00 AM", {}, QTime(9, 30, 0)},
        {"09:30 PM", {}, QTime(21, 30, 0)},
        {"12:00:00 AM", {}, QTime(0, 0, 0)},
        {"12:00:00 PM", {}, QTime(12, 0, 0)},
        {"21:30:00", {}, QTime(21, 30, 0)},
        {"5 Dec 2026 9:30:00 AM", QDate(2026, 12, 5), QTime(9, 30, 0)},
    };
    for (const Case& c : good) {
        const auto v = ReadDate(QString::fromLatin1(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->hasDate, c.date.isValid()) << c.text;
        EXPECT_EQ(v->hasTime, c.time.isValid()) << c.text;
        if (c.date.isValid()) {
            EXPECT_EQ(v->date, c.date) << c.text;
        }
        if (c.time.isValid()) {
            EXPECT_EQ(v->time, c.time) << c.text;
        }
    }
    for (const char* bad : {"31 April 2026", "29 Feb 2027", "Saturday, 5 Dec 2026", "hello",
                            "0.9.7", "25:00", "13:00 PM", "5 Smarch 2026", ""})
        EXPECT_FALSE(IsDate(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(IsoText(*ReadDate(u"5 Dec 2026 9:30:00 PM")), QStringLiteral("2026-12-05 21:30:00"));
}
