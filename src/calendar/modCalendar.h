#pragma once

#include <QColor>
#include <QDate>
#include <array>
#include <optional>

// The calendar's module state, shared by the whole calendar.
namespace modCalendar {

extern QColor CalNormalColor;              // a day without data: the window background
extern QColor CalSelectedColor;            // the current cell: yellow
extern QColor CalFilledColor;              // a day with a journal or an event: light blue
extern std::optional<QDate> CalMonthStart; // first day of the displayed month
extern std::array<bool, 33> FilledDays;    // indices 1 to 31 are the days
extern bool CalRendering;                  // the cell handlers do nothing while set

void Reset();

} // namespace modCalendar

// The English month name, whatever the locale.
QString MonthName(int month);
// 1 to 12 for an English month name in full, any letter case; 0 otherwise.
int MonthNumber(const QString& name);
// "5 December 2026"
QString SelectedDayText(const QDate& day);
