#include "common/VbDate.h"

#include "platform/Clock.h"

#include <array>
#include <vector>

namespace {

const std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
const std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

QString Two(int v) {
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

int Weekday(const QDate& d) {
    return d.dayOfWeek() % 7 + 1;
} // Sunday = 1

QString ShortDate(const QDate& d) {
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(Two(d.year() % 100));
}

QString LongTime(const QTime& t) {
    const int h12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(h12)
        .arg(Two(t.minute()))
        .arg(Two(t.second()))
        .arg(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

bool StartsWithCi(const QString& s, int pos, QLatin1StringView what) {
    return QStringView(s).mid(pos, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}
bool StartsWithExact(const QString& s, int pos, QLatin1StringView what) {
    return QStringView(s).mid(pos, what.size()) == what;
}

// The length of a 12-hour marker at pos, or 0.
int MarkerAt(const QString& p, int pos) {
    if (StartsWithCi(p, pos, QLatin1StringView("AMPM")))
        return 4;
    if (StartsWithExact(p, pos, QLatin1StringView("AM/PM")) ||
        StartsWithExact(p, pos, QLatin1StringView("am/pm")))
        return 5;
    if (StartsWithExact(p, pos, QLatin1StringView("A/P")) ||
        StartsWithExact(p, pos, QLatin1StringView("a/p")))
        return 3;
    return 0;
}

} // namespace

QString VbFormat(const VbDateTime& value, const QString& pattern) {
    if (pattern.isEmpty())
        return VbFormat(value, QStringLiteral("c"));
    const QDate d = value.Day();
    const QTime t = value.TimeOfDay();

    bool twelve = false;
    for (int i = 0; i < pattern.size(); ++i)
        if (MarkerAt(pattern, i)) {
            twelve = true;
            break;
        }
    const int hour = twelve ? (t.hour() % 12 == 0 ? 12 : t.hour() % 12) : t.hour();
    const bool pm = t.hour() >= 12;

    QString out;
    bool afterHour = false;
    int i = 0;
    const int n = pattern.size();
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < n) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (int len = MarkerAt(pattern, i)) {
            const QStringView m = QStringView(pattern).mid(i, len);
            if (len == 4)
                out += pm ? QStringLiteral("PM") : QStringLiteral("AM");
            else if (len == 5)
                out += m[0] == QLatin1Char('A')
                           ? (pm ? QStringLiteral("PM") : QStringLiteral("AM"))
                           : (pm ? QStringLiteral("pm") : QStringLiteral("am"));
            else
                out += QChar(m[0] == QLatin1Char('A') ? (pm ? 'P' : 'A') : (pm ? 'p' : 'a'));
            i += len;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 < n)
                out += pattern[i + 1];
            i += 2;
            continue;
        }
        if (c == QLatin1Char('"')) {
            const int end = pattern.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? n : end;
            out += QStringView(pattern).mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const int r = run(lc);
        switch (lc.unicode()) {
        case 'd': {
            const int len = std::min(r, 6);
            afterHour = false;
            if (len == 1)
                out += QString::number(d.day());
            else if (len == 2)
                out += Two(d.day());
            else if (len == 3)
                out += QString::fromLatin1(kDays[Weekday(d) - 1]).left(3);
            else if (len == 4)
                out += QString::fromLatin1(kDays[Weekday(d) - 1]);
            else if (len == 5)
                out += ShortDate(d);
            else
                out += QStringLiteral("%1 %2, %3")
                           .arg(QString::fromLatin1(kMonths[d.month() - 1]))
                           .arg(Two(d.day()))
                           .arg(d.year());
            i += len;
            break;
        }
        case 'm': {
            const int len = std::min(r, 4);
            if (len <= 2 && afterHour) {
                out += len == 1 ? QString::number(t.minute()) : Two(t.minute());
                afterHour = false;
            } else if (len == 1) {
                out += QString::number(d.month());
            } else if (len == 2) {
                out += Two(d.month());
            } else if (len == 3) {
                out += QString::fromLatin1(kMonths[d.month() - 1]).left(3);
            } else {
                out += QString::fromLatin1(kMonths[d.month() - 1]);
            }
            i += len;
            break;
        }
        case 'y': {
            if (r == 1) {
                out += QString::number(d.dayOfYear());
                i += 1;
            } else if (r >= 4) {
                out += QString::number(d.year()).rightJustified(4, QLatin1Char('0'));
                i += 4;
            } else {
                out += Two(d.year() % 100);
                i += 2;
            }
            break;
        }
        case 'h': {
            const int len = std::min(r, 2);
            out += len == 1 ? QString::number(hour) : Two(hour);
            afterHour = true;
            i += len;
            break;
        }
        case 'n': {
            const int len = std::min(r, 2);
            out += len == 1 ? QString::number(t.minute()) : Two(t.minute());
            i += len;
            break;
        }
        case 's': {
            const int len = std::min(r, 2);
            out += len == 1 ? QString::number(t.second()) : Two(t.second());
            i += len;
            break;
        }
        case 'w': {
            if (r >= 2) {
                const QDate jan1(d.year(), 1, 1);
                out += QString::number((d.dayOfYear() + Weekday(jan1) - 2) / 7 + 1);
                i += 2;
            } else {
                out += QString::number(Weekday(d));
                i += 1;
            }
            break;
        }
        case 'q':
            out += QString::number((d.month() - 1) / 3 + 1);
            i += 1;
            break;
        case 't':
            if (r >= 5) {
                out += LongTime(t);
                i += 5;
            } else {
                out += c;
                i += 1;
            }
            break;
        case 'c': {
            QString s;
            if (value.hasDate || !value.hasTime)
                s = ShortDate(d);
            if (value.hasTime && t != QTime(0, 0, 0)) {
                if (!s.isEmpty())
                    s += QLatin1Char(' ');
                s += LongTime(t);
            }
            out += s;
            i += 1;
            break;
        }
        default:
            out += c;
            i += 1;
            break;
        }
    }
    return out;
}

QString VbFormat(const QDate& date, const QString& pattern) {
    VbDateTime v;
    v.date = date;
    v.hasDate = true;
    return VbFormat(v, pattern);
}

QString VbFormat(const QTime& time, const QString& pattern) {
    VbDateTime v;
    v.time = time;
    v.hasTime = true;
    return VbFormat(v, pattern);
}

namespace {

struct Tok {
    enum Type { Num, Word, Sep } type;
    int value = 0;  // number value
    int digits = 0; // number of digits written
    QString text;   // word, lower case; or the separator
};

bool Lex(QStringView s, std::vector<Tok>& out) {
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            int v = 0, k = i;
            while (k < n && s[k].unicode() >= '0' && s[k].unicode() <= '9') {
                if (k - i < 9)
                    v = v * 10 + (s[k].unicode() - '0');
                ++k;
            }
            out.push_back({Tok::Num, v, k - i, {}});
            i = k;
        } else if (c.isLetter()) {
            int k = i;
            while (k < n && s[k].isLetter())
                ++k;
            out.push_back({Tok::Word, 0, 0, s.mid(i, k - i).toString().toLower()});
            i = k;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            ++i;
            if (out.empty() || out.back().type != Tok::Sep)
                out.push_back({Tok::Sep, 0, 0, QStringLiteral(" ")});
        } else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char(',') ||
                   c == QLatin1Char('.') || c == QLatin1Char(':')) {
            if (!out.empty() && out.back().type == Tok::Sep && out.back().text == " ")
                out.back().text = QString(c);
            else
                out.push_back({Tok::Sep, 0, 0, QString(c)});
            ++i;
            // A space after a separator belongs to it.
            while (i < n && s[i] == QLatin1Char(' '))
                ++i;
        } else {
            return false;
        }
    }
    return true;
}

int MonthOf(const QString& word) {
    for (int m = 0; m < 12; ++m) {
        const QString full = QString::fromLatin1(kMonths[m]).toLower();
        if (word == full || word == full.left(3) || (m == 8 && word == QLatin1String("sept")))
            return m + 1;
    }
    return 0;
}

int MeridiemOf(const QString& word) {
    if (word == QLatin1String("am") || word == QLatin1String("a"))
        return 1;
    if (word == QLatin1String("pm") || word == QLatin1String("p"))
        return 2;
    return 0;
}

int FullYear(const Tok& t) {
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

} // namespace

std::optional<VbDateTime> ReadDate(QStringView text) {
    std::vector<Tok> toks;
    if (!Lex(text.trimmed(), toks) || toks.empty())
        return std::nullopt;

    VbDateTime result;
    // The time part: h:m[:s] [am|pm], or h am|pm.
    for (size_t i = 0; i < toks.size(); ++i) {
        if (toks[i].type != Tok::Num)
            continue;
        size_t k = i;
        int h = toks[i].value, m = 0, s = 0;
        bool timeFound = false;
        if (k + 2 < toks.size() && toks[k + 1].type == Tok::Sep && toks[k + 1].text == ":" &&
            toks[k + 2].type == Tok::Num) {
            m = toks[k + 2].value;
            k += 2;
            timeFound = true;
            if (k + 2 < toks.size() && toks[k + 1].type == Tok::Sep && toks[k + 1].text == ":" &&
                toks[k + 2].type == Tok::Num) {
                s = toks[k + 2].value;
                k += 2;
            }
        }
        int meridiem = 0;
        size_t w = k + 1;
        if (w < toks.size() && toks[w].type == Tok::Sep && toks[w].text == " ")
            ++w;
        if (w < toks.size() && toks[w].type == Tok::Word && MeridiemOf(toks[w].text)) {
            meridiem = MeridiemOf(toks[w].text);
            k = w;
            timeFound = true;
        }
        if (!timeFound)
            continue;
        if (result.hasTime)
            return std::nullopt;
        if (meridiem) {
            if (h < 1 || h > 12)
                return std::nullopt;
            h = h % 12 + (meridiem == 2 ? 12 : 0);
        }
        if (h > 23 || m > 59 || s > 59)
            return std::nullopt;
        result.time = QTime(h, m, s);
        result.hasTime = true;
        toks.erase(toks.begin() + static_cast<long>(i), toks.begin() + static_cast<long>(k) + 1);
        break;
    }

    std::vector<Tok> nums;
    int month = 0, wordPos = -1, pos = 0;
    for (const Tok& t : toks) {
        if (t.type == Tok::Sep) {
            if (t.text == ":")
                return std::nullopt;
            continue;
        }
        if (t.type == Tok::Word) {
            const int m = MonthOf(t.text);
            if (!m || month)
                return std::nullopt;
            month = m;
            wordPos = pos;
        } else {
            nums.push_back(t);
        }
        ++pos;
    }
    if (nums.size() + (month ? 1 : 0) == 0)
        return result.hasTime ? std::optional<VbDateTime>(result) : std::nullopt;

    const int thisYear = Clock::Today().year();
    int y = 0, mo = 0, d = 0;
    if (month) {
        mo = month;
        if (nums.size() == 2) {
            const bool yearFirst = nums[0].digits > 2 || nums[0].value > 31;
            d = yearFirst ? nums[1].value : nums[0].value;
            y = FullYear(yearFirst ? nums[0] : nums[1]);
        } else if (nums.size() == 1) {
            if (nums[0].digits > 2 || nums[0].value > 31) {
                d = 1;
                y = FullYear(nums[0]);
            } else {
                d = nums[0].value;
                y = thisYear;
            }
        } else {
            return std::nullopt;
        }
        Q_UNUSED(wordPos);
    } else if (nums.size() == 3) {
        if (nums[0].digits > 2) {
            y = nums[0].value;
            mo = nums[1].value;
            d = nums[2].value;
        } else {
            mo = nums[0].value;
            d = nums[1].value;
            if (mo > 12 && d <= 12)
                std::swap(mo, d);
            y = FullYear(nums[2]);
        }
    } else if (nums.size() == 2) {
        if (nums[1].digits > 2 || nums[1].value > 31) {
            mo = nums[0].value;
            d = 1;
            y = FullYear(nums[1]);
        } else {
            mo = nums[0].value;
            d = nums[1].value;
            if (mo > 12 && d <= 12)
                std::swap(mo, d);
            y = thisYear;
        }
    } else {
        return std::nullopt;
    }
    if (y < 100 || y > 9999 || !QDate::isValid(y, mo, d))
        return std::nullopt;
    result.date = QDate(y, mo, d);
    result.hasDate = true;
    return result;
}

QString IsoText(const VbDateTime& value) {
    const QString date = value.date.toString(QStringLiteral("yyyy-MM-dd"));
    const QString time = value.time.toString(QStringLiteral("HH:mm:ss"));
    if (value.hasDate && value.hasTime)
        return date + QLatin1Char(' ') + time;
    if (value.hasDate)
        return date;
    return time;
}
