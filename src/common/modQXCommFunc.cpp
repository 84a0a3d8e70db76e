#include "common/modQXCommFunc.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "platform/Prompter.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

QString FixQuote(QString& text) {
    // Lengths are not limited: a long journal must still save.
    if (text.contains(QLatin1Char('\'')))
        text.replace(QLatin1Char('\''), QLatin1String("''"));
    return text;
}

QString EscapeLikePercent(QString& text) {
    if (text.contains(QLatin1Char('%')))
        text.replace(QLatin1Char('%'), QLatin1String("[%]"));
    return text;
}

QString TrimSpaces(QStringView text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' '))
        ++b;
    while (e > b && text[e - 1] == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b).toString();
}

QString VariantText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QDate:
        return VbFormat(value.toDate(), QStringLiteral("c"));
    case QMetaType::QTime:
        return VbFormat(value.toTime(), QStringLiteral("c"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        VbDateTime v{dt.date(), dt.time(), true, true};
        return VbFormat(v, QStringLiteral("c"));
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

QString TrimFixQuote(const QVariant& value) {
    if (value.isNull() && value.typeId() != QMetaType::QString)
        throw RuntimeError(94, QStringLiteral("Invalid use of Null"), QStringLiteral("Pimora"),
                           ErrorKind::InvalidUseOfNull);
    QString text = TrimSpaces(VariantText(value));
    return FixQuote(text);
}

QString NullToEmpty(const QVariant& value) {
    if (value.isNull() && value.typeId() != QMetaType::QString)
        return {};
    return TrimSpaces(VariantText(value));
}

void ShowError(const QString& message, const QString& title, const QString& description) {
    MsgBox(QStringLiteral("Error: ") + message + QStringLiteral("\r\nDesc: ") + description,
           MsgButtons::OK, MsgIcon::Critical, title);
}

void ShowError(const QString& message, const QString& title, const RuntimeError& error) {
    ShowError(message, title, error.Description());
}
