#include "exchange/IcalText.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

namespace {

struct ContentLine {
    int line; // where it starts in the file, from 1
    QString text;
};

// Folded lines joined (RFC 5545 3.1): a line that starts with a blank continues the one
// before.
QList<ContentLine> Unfolded(const QByteArray& text) {
    QList<ContentLine> lines;
    int number = 0;
    for (QByteArray raw : text.split('\n')) {
        ++number;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (!raw.isEmpty() && (raw[0] == ' ' || raw[0] == '\t') && !lines.isEmpty()) {
            lines.last().text += QString::fromUtf8(raw.mid(1));
            continue;
        }
        if (!raw.isEmpty())
            lines.append({number, QString::fromUtf8(raw)});
    }
    return lines;
}

// The name with its parameters, and the value: the first colon outside quotes divides them.
bool Split(const QString& line, QString& head, QString& value) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (line[i] == QLatin1Char(':') && !quoted) {
            head = line.left(i);
            value = line.mid(i + 1);
            return !head.isEmpty();
        }
    }
    return false;
}

bool IsDateTime(const QString& value) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(?:T(\\d{2})(\\d{2})(\\d{2})Z?)?$"));
    const auto m = form.match(value);
    if (!m.hasMatch())
        return false;
    if (!QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid())
        return false;
    // A leap second (60) is allowed by the standard.
    return m.captured(4).isEmpty() || (m.captured(4).toInt() < 24 && m.captured(5).toInt() < 60 &&
                                       m.captured(6).toInt() <= 60);
}

bool HoldsDates(const QString& name) {
    static const QStringList names = {
        QStringLiteral("DTSTART"), QStringLiteral("DTEND"),   QStringLiteral("DUE"),
        QStringLiteral("EXDATE"),  QStringLiteral("RDATE"),   QStringLiteral("RECURRENCE-ID"),
        QStringLiteral("DTSTAMP"), QStringLiteral("CREATED"), QStringLiteral("LAST-MODIFIED")};
    return names.contains(name);
}

} // namespace

QString FirstFault(const QByteArray& text) {
    const QList<ContentLine> lines = Unfolded(text);
    if (lines.isEmpty())
        return QStringLiteral("line 1: the file is empty");
    QList<ContentLine> open;
    for (const ContentLine& l : lines) {
        QString head, value;
        if (!Split(l.text, head, value))
            return QStringLiteral("line %1: \"%2\" is not a property")
                .arg(l.line)
                .arg(l.text.left(60));
        const QString name = head.section(QLatin1Char(';'), 0, 0).toUpper();
        if (open.isEmpty() &&
            !(name == QLatin1String("BEGIN") &&
              value.compare(QLatin1String("VCALENDAR"), Qt::CaseInsensitive) == 0))
            return QStringLiteral("line %1: the file does not begin with BEGIN:VCALENDAR")
                .arg(l.line);
        if (name == QLatin1String("BEGIN")) {
            open.append({l.line, value.toUpper()});
        } else if (name == QLatin1String("END")) {
            if (open.isEmpty() || open.last().text != value.toUpper())
                return QStringLiteral("line %1: END:%2 where END:%3 was expected")
                    .arg(l.line)
                    .arg(value, open.isEmpty() ? QStringLiteral("(nothing)") : open.last().text);
            open.removeLast();
        } else if (HoldsDates(name) &&
                   !head.contains(QLatin1String("VALUE=PERIOD"), Qt::CaseInsensitive)) {
            for (const QString& one : value.split(QLatin1Char(',')))
                if (!IsDateTime(one.trimmed()))
                    return QStringLiteral("line %1: \"%2\" is not a date or a date and time")
                        .arg(l.line)
                        .arg(one.left(40));
        }
    }
    if (!open.isEmpty())
        return QStringLiteral("line %1: the file ends before END:%2 (BEGIN:%2 is on line %3)")
            .arg(lines.last().line)
            .arg(open.last().text)
            .arg(open.last().line);
    return {};
}
