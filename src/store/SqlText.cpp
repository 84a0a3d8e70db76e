#include "store/SqlText.h"

#include "common/VbDate.h"
#include "common/modQXCommFunc.h"

QString SqlDay(const QDate& day) {
    return VbFormat(day, QStringLiteral("dd mmm yyyy"));
}

QString SqlTime(const QTime& time) {
    return VbFormat(time, QStringLiteral("hh:mm:ss AMPM"));
}

QString LikeText(const QString& text) {
    QString escaped = text; // escaped first, then trimmed, as the searches always did
    return TrimFixQuote(EscapeLikePercent(escaped));
}

QString Quoted(QString text) {
    return FixQuote(text);
}
