#include "calendar/CalendarGrid.h"

#include "calendar/CalGridView.h"
#include "calendar/modCalendar.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "controls/CommandButton.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "store/CalendarStore.h"
#include "store/SqlText.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modCalendar;

namespace {

QString YearText(const QDate& d) {
    return VbFormat(d, QStringLiteral("yyyy"));
}

// The first day of the month the texts name, when they name one the grid can draw.
std::optional<QDate> MonthOfTexts(const QString& month, const QString& year) {
    const int m = MonthNumber(month.trimmed());
    bool ok = false;
    const int y = year.trimmed().toInt(&ok);
    if (!m || !ok || y < 100 || y > 9999)
        return std::nullopt;
    return QDate(y, m, 1);
}

bool SameMonth(const std::optional<QDate>& a, const QDate& b) {
    return a && a->year() == b.year() && a->month() == b.month();
}

} // namespace

QString CalendarGrid::SelectedDay() const {
    return lblSelDate->text();
}

void CalendarGrid::ShowSelectedDay() {
    const QString text = flxCalModel->CurrentText();
    if (text.isEmpty())
        lblSelDate->clear();
    else
        lblSelDate->setText(text + QLatin1Char(' ') + lblCalMonth->text());
}

CalGridModel& CalendarGrid::Cells() const {
    return *flxCalModel;
}

TwipsRect CalendarGrid::Place() const {
    return GeometryTwips(fraCal);
}

void CalendarGrid::Place(const TwipsRect& at) {
    PlaceTwips(fraCal, at);
}

CalendarGrid::CalendarGrid(QWidget* parent) : QObject(parent) {
    fraCal = new QFrame(parent);
    fraCal->setObjectName(QStringLiteral("fraCal"));
    auto* column = new QVBoxLayout(fraCal);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* buttons = new QHBoxLayout;
    cmdPrevMonth = CommandButton(fraCal, QStringLiteral("cmdPrevMonth"), QStringLiteral("<"));
    cmdPrevDay = CommandButton(fraCal, QStringLiteral("cmdPrevDay"), QStringLiteral("<<"));
    cmdCalToday = CommandButton(fraCal, QStringLiteral("cmdCalToday"), QStringLiteral("Today"));
    cmdNextDay = CommandButton(fraCal, QStringLiteral("cmdNextDay"), QStringLiteral(">>"));
    cmdNextMonth = CommandButton(fraCal, QStringLiteral("cmdNextMonth"), QStringLiteral(">"));
    for (QPushButton* b : {cmdPrevMonth, cmdPrevDay, cmdCalToday, cmdNextDay, cmdNextMonth})
        buttons->addWidget(b);
    connect(cmdPrevMonth, &QPushButton::clicked, this, &CalendarGrid::cmdPrevMonth_Click);
    connect(cmdPrevDay, &QPushButton::clicked, this, &CalendarGrid::cmdPrevDay_Click);
    connect(cmdCalToday, &QPushButton::clicked, this, &CalendarGrid::cmdCalToday_Click);
    connect(cmdNextDay, &QPushButton::clicked, this, &CalendarGrid::cmdNextDay_Click);
    connect(cmdNextMonth, &QPushButton::clicked, this, &CalendarGrid::cmdNextMonth_Click);
    column->addLayout(buttons);

    lblCalMonth = new QLabel(fraCal);
    lblCalMonth->setObjectName(QStringLiteral("lblCalMonth"));
    lblCalMonth->setAlignment(Qt::AlignCenter);
    lblCalMonth->setToolTip(
        QStringLiteral("Double-click here to jump to a specific Month and Year"));
    // Focus and Enter open the jump too, for the keyboard.
    lblCalMonth->setFocusPolicy(Qt::StrongFocus);
    QFont bold = lblCalMonth->font();
    bold.setBold(true);
    lblCalMonth->setFont(bold);
    lblCalMonth->installEventFilter(this);
    column->addWidget(lblCalMonth);

    fraEditMonthYear = new QFrame(fraCal);
    fraEditMonthYear->setObjectName(QStringLiteral("fraEditMonthYear"));
    auto* jump = new QHBoxLayout(fraEditMonthYear);
    jump->setContentsMargins(0, 0, 0, 0);
    cboMonth = new QComboBox(fraEditMonthYear);
    cboMonth->setObjectName(QStringLiteral("cboMonth"));
    cboMonth->setEditable(true);
    cboYear = new QComboBox(fraEditMonthYear);
    cboYear->setObjectName(QStringLiteral("cboYear"));
    cboYear->setEditable(true);
    cmdOK = CommandButton(fraEditMonthYear, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    connect(cmdOK, &QPushButton::clicked, this, &CalendarGrid::cmdOK_Click);
    jump->addWidget(cboMonth, 1);
    jump->addWidget(cboYear);
    jump->addWidget(cmdOK);
    fraEditMonthYear->hide();
    column->addWidget(fraEditMonthYear);

    flxCal = new CalGridView(fraCal);
    flxCal->setObjectName(QStringLiteral("flxCal"));
    flxCalModel = flxCal->Model();
    column->addWidget(flxCal, 0, Qt::AlignHCenter);

    lblSelDate = new QLabel(fraCal);
    lblSelDate->setObjectName(QStringLiteral("lblSelDate"));
    lblSelDate->setAlignment(Qt::AlignCenter);
    column->addWidget(lblSelDate);
}

bool CalendarGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCalMonth) {
        const bool key = event->type() == QEvent::KeyPress &&
                         (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (event->type() == QEvent::MouseButtonDblClick || key) {
            lblCalMonth_DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CalendarGrid::PopulateCalendarCombos() {
    for (int m = 1; m <= 12; ++m)
        cboMonth->addItem(MonthName(m));
    for (int y = 1995; y <= 2050; ++y)
        cboYear->addItem(QString::number(y));
}

void CalendarGrid::RenderCalFrame() {
    flxCalModel->Clear();
    const char* headers[] = {"Sun", "Mon", "Tues", "Wed", "Thurs", "Fri", "Sat"};
    for (int c = 0; c < CalGridModel::kCols; ++c)
        flxCalModel->SetText(0, c, QString::fromLatin1(headers[c]));
    CalNormalColor = flxCal->palette().color(QPalette::Base);
    CalSelectedColor = QColor(255, 255, 0);
    CalFilledColor = QColor(128, 128, 255);
    fraEditMonthYear->hide();
    const QDate today = Clock::Today();
    cboMonth->setCurrentText(MonthName(today.month()));
    cboYear->setCurrentText(YearText(today));
}

bool CalendarGrid::LeaveCurrentDay() {
    if (flxCalModel->Row() == 6 && flxCalModel->Col() == 6)
        return flxCalModel->MoveTo(1, 0);
    return flxCalModel->MoveTo(6, 6);
}

bool CalendarGrid::RenderCalMonth(const QString& month, const QString& year) {
    const auto first = MonthOfTexts(month, year);
    if (!first || !LeaveCurrentDay())
        return false;
    CalRendering = true;
    RenderCalFrame();
    PopulateFilledDays(*first);
    const int w = Weekday(*first);
    int n = 1;
    QDate d = *first;
    auto put = [&](int row, int col) {
        flxCalModel->SetText(row, col, QString::number(n));
        if (FilledDays[static_cast<size_t>(n)])
            flxCalModel->SetBackColor(row, col, CalFilledColor);
        ++n;
        d = d.addDays(1);
    };
    for (int col = w - 1; col <= 6; ++col)
        put(1, col);
    for (int row = 2; row <= 6; ++row)
        for (int col = 0; col <= 6 && d.month() == first->month(); ++col)
            put(row, col);
    lblCalMonth->setText(month + QLatin1Char(' ') + year);
    cboMonth->setCurrentText(month);
    cboYear->setCurrentText(year);
    flxCalModel->SetRow(0);
    flxCalModel->SetCol(0);
    flxCalModel->SetCol(w - 1);
    flxCalModel->SetRow(1);
    CalRendering = false;
    flxCalModel->Reenter();
    return true;
}

void CalendarGrid::PopulateFilledDays(const QDate& firstDay) {
    CalMonthStart = firstDay;
    const QDate last = firstDay.addMonths(1).addDays(-1);
    FilledDays.fill(false);
    try {
        // A day is filled by a journal that is not blank, or by an event; the days read
        // before a failure stay marked.
        for (const QDate& day : CalendarStore::JournalDaysBetween(firstDay, last))
            FilledDays[static_cast<size_t>(day.day())] = true;
        for (const QDate& day : CalendarStore::EventDaysBetween(firstDay, last))
            FilledDays[static_cast<size_t>(day.day())] = true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting Filled Days!"), QStringLiteral("Error!"), e);
    }
}

// Each step moves the current cell; a day that could not be saved stops the walk there.
bool CalendarGrid::SelectDay(int day) {
    if (!flxCalModel->SetRow(1) || !flxCalModel->SetCol(0))
        return false;
    const QString wanted = QString::number(day);
    for (int r = 1; r <= 6; ++r)
        for (int c = 0; c <= 6; ++c)
            if (flxCalModel->Text(r, c) == wanted)
                return flxCalModel->SetRow(r) && flxCalModel->SetCol(c);
    return true;
}

bool CalendarGrid::ShowMonthOf(const QDate& day) {
    return RenderCalMonth(MonthName(day.month()), YearText(day));
}

void CalendarGrid::NavigateCalByDay(const QString& day, const QString& direction) {
    auto d = day.isEmpty() ? std::nullopt : DayOfText(day);
    if (!d)
        return;
    *d = d->addDays(direction == QLatin1String("N") ? 1 : -1);
    if (!SameMonth(CalMonthStart, *d) && (!LeaveCurrentDay() || !ShowMonthOf(*d)))
        return;
    SelectDay(d->day());
}

bool CalendarGrid::GoToDay(const QDate& day) {
    if (!LeaveCurrentDay())
        return false;
    if (!SameMonth(CalMonthStart, day) && !ShowMonthOf(day))
        return false;
    if (!SelectDay(day.day()))
        return false;
    lblSelDate->setText(SelectedDayText(day));
    return true;
}

void CalendarGrid::cmdPrevDay_Click() {
    if (const auto d = DayOfText(lblSelDate->text()))
        NavigateCalByDay(SqlDay(*d), QStringLiteral("P"));
}

void CalendarGrid::cmdNextDay_Click() {
    if (const auto d = DayOfText(lblSelDate->text()))
        NavigateCalByDay(SqlDay(*d), QStringLiteral("N"));
}

void CalendarGrid::cmdCalToday_Click() {
    GoToDay(Clock::Today());
}

void CalendarGrid::cmdPrevMonth_Click() {
    // Combos edited into nonsense fall back to the month on show.
    const QDate d = MonthOfTexts(cboMonth->currentText(), cboYear->currentText())
                        .value_or(CalMonthStart.value_or(Clock::Today()))
                        .addMonths(-1);
    ShowMonthOf(d);
}

void CalendarGrid::cmdNextMonth_Click() {
    const QDate d = MonthOfTexts(cboMonth->currentText(), cboYear->currentText())
                        .value_or(CalMonthStart.value_or(Clock::Today()))
                        .addMonths(1);
    ShowMonthOf(d);
}

void CalendarGrid::lblCalMonth_DblClick() {
    fraEditMonthYear->show();
    cboMonth->setFocus();
}

void CalendarGrid::cmdOK_Click() {
    const auto d = MonthOfTexts(cboMonth->currentText(), cboYear->currentText());
    if (!d) {
        MsgBox(QStringLiteral("Please choose a month from January to December and type a year "
                              "from 100 to 9999."),
               MsgButtons::OK, MsgIcon::Exclamation);
        cboMonth->setFocus();
        return;
    }
    if (ShowMonthOf(*d))
        fraEditMonthYear->hide();
}
