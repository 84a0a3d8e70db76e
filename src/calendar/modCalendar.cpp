#include "calendar/modCalendar.h"

#include "common/VbDate.h"

namespace modCalendar {

QColor CalNormalColor;
QColor CalSelectedColor;
QColor CalFilledColor;
std::optional<QDate> CalMonthStart;
std::array<bool, 33> FilledDays{};
bool CalRendering = false;

void Reset() {
    CalNormalColor = QColor();
    CalSelectedColor = QColor();
    CalFilledColor = QColor();
    CalMonthStart.reset();
    FilledDays.fill(false);
    CalRendering = false;
}

} // namespace modCalendar

QString MonthName(int month) {
    return VbFormat(QDate(2000, month, 1), QStringLiteral("mmmm"));
}

int MonthNumber(const QString& name) {
    for (int m = 1; m <= 12; ++m)
        if (name.compare(MonthName(m), Qt::CaseInsensitive) == 0)
            return m;
    return 0;
}

QString SelectedDayText(const QDate& day) {
    return VbFormat(day, QStringLiteral("d mmmm yyyy"));
}

int Weekday(const QDate& day) {
    return day.dayOfWeek() % 7 + 1;
}

std::optional<QDate> DayOfText(const QString& text) {
    const auto v = ReadDate(text);
    if (!v || !v->hasDate)
        return std::nullopt;
    return v->date;
}
