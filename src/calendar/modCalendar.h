#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QTime>
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

// The texts of a calendar day.
// The English month name, whatever the locale.
QString MonthName(int month);
// 1 to 12 for an English month name in full, any letter case; 0 otherwise.
int MonthNumber(const QString& name);
// "5 December 2026", as the selected-day label shows it.
QString SelectedDayText(const QDate& day);
// Sunday = 1 ... Saturday = 7.
int Weekday(const QDate& day);
// The day a text names, when it reads as a date.
std::optional<QDate> DayOfText(const QString& text);
