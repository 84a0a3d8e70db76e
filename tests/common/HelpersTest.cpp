#include "support/ScriptedPrompter.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"

#include <QDate>
#include <QTime>
#include <gtest/gtest.h>

TEST(Helpers, QuotesAndPercentSignsAreEscapedInPlaceAndOnlySpacesTrimmed) {
    // An apostrophe far beyond 32767 is doubled like any other.
    const QString longText = QString(40000, 'a') + '\'';
    const std::pair<QString, QString> quotes[] = {{"O'Brien's", "O''Brien''s"},
                                                  {"", ""},
                                                  {"'", "''"},
                                                  {"''", "''''"},
                                                  {longText, longText + '\''}};
    for (auto [text, expected] : quotes) {
        EXPECT_EQ(FixQuote(text), expected);
        EXPECT_EQ(text, expected) << "in place";
    }
    for (auto [text, expected] :
         {std::pair<QString, QString>{"100%_x", "100[%]_x"}, {"%%", "[%][%]"}}) {
        EXPECT_EQ(EscapeLikePercent(text), expected);
        EXPECT_EQ(text, expected) << "in place";
    }
    EXPECT_EQ(TrimFixQuote(QString("  O'Brien  ")), "O''Brien");
    EXPECT_EQ(TrimFixQuote(QString("\tx ")), "\tx");
    EXPECT_EQ(NullToEmpty(QVariant()), "");
    EXPECT_EQ(NullToEmpty(QString("  abc  ")), "abc");
    EXPECT_EQ(NullToEmpty(QVariant(42LL)), "42");
    EXPECT_EQ(NullToEmpty(QVariant(QDate(2026, 12, 5))), "12/5/26");
    EXPECT_EQ(NullToEmpty(QVariant(QTime(21, 5, 7))), "9:05:07 PM");
    try {
        TrimFixQuote(QVariant());
        ADD_FAILURE() << "Null accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Kind(), ErrorKind::InvalidUseOfNull);
    }
    ScopedPrompter p;
    p->ExpectError("Error while Saving Thought!", "Error!", "disk on fire");
    ShowError("Error while Saving Thought!", "Error!", RuntimeError(1, "disk on fire"));
}

TEST(VbDates, FormatsAsThePlatformDid) {
    const VbDateTime day{QDate(2026, 12, 5), {}, true, false};
    const VbDateTime both{day.date, QTime(9, 30, 0), true, true};
    auto d = [](int y, int m, int dd) { return VbDateTime{QDate(y, m, dd), {}, true, false}; };
    auto t = [](int h, int m, int s) { return VbDateTime{{}, QTime(h, m, s), false, true}; };
    const std::tuple<VbDateTime, const char*, const char*> cases[] = {
        {day, "dd mmm yyyy", "05 Dec 2026"},
        {day, "d mmm yyyy", "5 Dec 2026"},
        {day, "dddd, mmmm d", "Saturday, December 5"},
        {day, "yyyy-mm-dd", "2026-12-05"},
        {day, "w q y", "7 4 339"},
        {d(2026, 1, 1), "ww", "1"},
        {d(2026, 12, 31), "ww", "53"},
        {t(9, 30, 0), "hh:mm:ss AMPM", "09:30:00 AM"},
        {t(21, 5, 7), "hh:mm:ss AMPM", "09:05:07 PM"},
        {t(0, 0, 0), "hh:mm:ss AMPM", "12:00:00 AM"},
        {t(12, 0, 0), "h:nn am/pm", "12:00 pm"},
        {t(13, 0, 0), "h a/p", "1 p"},
        {t(21, 5, 7), "hh:mm:ss", "21:05:07"},
        {both, "yyyymmddHhnnss", "20261205093000"},
        {day, "\\d \"mm\" m", "d mm 12"},
        {both, "", "12/5/26 9:30:00 AM"},
    };
    for (const auto& [value, format, expected] : cases)
        EXPECT_EQ(VbFormat(value, format), expected) << format;
}

TEST(VbDates, ReadsEnglishDatesAndTimes) {
    const QDate day(2026, 12, 5);
    const std::tuple<const char*, QDate, QTime> good[] = {
        {"5 December 2026", day, {}},
        {"05 Dec 2026", day, {}},
        {"5-Dec-2026", day, {}},
        {"december 5, 2026", day, {}},
        {"2026-12-05", day, {}},
        {"2026-12-05 21:30:00", day, QTime(21, 30, 0)},
        {"12/5/2026", day, {}},
        {"13/5/2026", QDate(2026, 5, 13), {}},
        {"31 Dec 2026", QDate(2026, 12, 31), {}},
        {"01 Jan 2027", QDate(2027, 1, 1), {}},
        {"29 Feb 2028", QDate(2028, 2, 29), {}},
        {"9:30:00 AM", {}, QTime(9, 30, 0)},
        {"09:30 PM", {}, QTime(21, 30, 0)},
        {"12:00:00 AM", {}, QTime(0, 0, 0)},
        {"12:00:00 PM", {}, QTime(12, 0, 0)},
        {"21:30:00", {}, QTime(21, 30, 0)},
        {"5 Dec 2026 9:30:00 PM", day, QTime(21, 30, 0)},
    };
    for (const auto& [text, date, time] : good) {
        const auto v = ReadDate(QString(text));
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_EQ(v->hasDate ? v->date : QDate(), date) << text;
        EXPECT_EQ(v->hasTime ? v->time : QTime(), time) << text;
    }
    for (const char* bad : {"31 April 2026", "29 Feb 2027", "Saturday, 5 Dec 2026", "hello",
                            "0.9.7", "25:00", "13:00 PM", "5 Smarch 2026", ""})
        EXPECT_FALSE(IsDate(QString(bad))) << bad;
    EXPECT_EQ(IsoText(*ReadDate(u"5 Dec 2026 9:30:00 PM")), "2026-12-05 21:30:00");
}
