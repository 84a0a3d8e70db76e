#include "calendar/CalendarPart.h"

#include "calendar/modCalendar.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "platform/Prompter.h"
#include "ui/main/TabStrip.h"
#include "ui/main/Twips.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace modCalendar;

namespace {

QString SqlDay(const QDate& day) {
    return VbFormat(day, QStringLiteral("dd mmm yyyy"));
}
QString SqlTime(const QTime& time) {
    return VbFormat(time, QStringLiteral("hh:mm:ss AMPM"));
}
int Weekday(const QDate& d) {
    return d.dayOfWeek() % 7 + 1;
}

// A stored time as the pickers show it; an empty or unreadable one is midnight.
QTime TimeOf(const QString& text) {
    const auto v = ReadDate(text);
    return v && v->hasTime ? v->time : QTime(0, 0, 0);
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

CalendarPart::CalendarPart(frmMain& form) : form_(form) {
    auto* left = form.findChild<QWidget*>(QStringLiteral("fraCalLeft"));
    leftColumn_ = static_cast<QVBoxLayout*>(left->layout());
    leftColumn_->setContentsMargins(0, 0, 0, 0);
    BuildGridFrame(left);
    BuildEventsFrame(left);
    leftColumn_->addWidget(fraCal);
    leftColumn_->addWidget(fraDayEvents, 1);
    BuildJournal(form.fraCalDiary);

    connect(&flxCalModel, &CalGridModel::leaveCell, this, &CalendarPart::flxCal_LeaveCell);
    connect(&flxCalModel, &CalGridModel::enterCell, this, &CalendarPart::flxCal_EnterCell);

    const std::pair<const char*, void (CalendarPart::*)()> menu[] = {
        {"mnuPrevDay", &CalendarPart::cmdPrevDay_Click},
        {"mnuNextDay", &CalendarPart::cmdNextDay_Click},
        {"mnuPrevMonth", &CalendarPart::cmdPrevMonth_Click},
        {"mnuNextMonth", &CalendarPart::cmdNextMonth_Click},
        {"mnuToday", &CalendarPart::cmdCalToday_Click},
        {"mnuSwapCal", &CalendarPart::mnuSwapCal_Click}};
    for (const auto& [name, handler] : menu) {
        QAction* a = form.Action(QString::fromLatin1(name));
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, handler);
    }
}

void CalendarPart::BuildGridFrame(QWidget* parent) {
    fraCal = new QFrame(parent);
    fraCal->setObjectName(QStringLiteral("fraCal"));
    auto* column = new QVBoxLayout(fraCal);

    auto* buttons = new QHBoxLayout;
    cmdPrevMonth = Button(fraCal, QStringLiteral("cmdPrevMonth"), QStringLiteral("<"));
    cmdPrevDay = Button(fraCal, QStringLiteral("cmdPrevDay"), QStringLiteral("<<"));
    cmdCalToday = Button(fraCal, QStringLiteral("cmdCalToday"), QStringLiteral("Today"));
    cmdNextDay = Button(fraCal, QStringLiteral("cmdNextDay"), QStringLiteral(">>"));
    cmdNextMonth = Button(fraCal, QStringLiteral("cmdNextMonth"), QStringLiteral(">"));
    for (QPushButton* b : {cmdPrevMonth, cmdPrevDay, cmdCalToday, cmdNextDay, cmdNextMonth}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(cmdPrevMonth, &QPushButton::clicked, this, &CalendarPart::cmdPrevMonth_Click);
    connect(cmdPrevDay, &QPushButton::clicked, this, &CalendarPart::cmdPrevDay_Click);
    connect(cmdCalToday, &QPushButton::clicked, this, &CalendarPart::cmdCalToday_Click);
    connect(cmdNextDay, &QPushButton::clicked, this, &CalendarPart::cmdNextDay_Click);
    connect(cmdNextMonth, &QPushButton::clicked, this, &CalendarPart::cmdNextMonth_Click);
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
    cmdOK = Button(fraEditMonthYear, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdOK->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &CalendarPart::cmdOK_Click);
    jump->addWidget(cboMonth, 1);
    jump->addWidget(cboYear);
    jump->addWidget(cmdOK);
    fraEditMonthYear->hide();
    column->addWidget(fraEditMonthYear);

    flxCal = new CalGridView(flxCalModel, fraCal);
    flxCal->setObjectName(QStringLiteral("flxCal"));
    column->addWidget(flxCal, 0, Qt::AlignHCenter);

    lblSelDate = new QLabel(fraCal);
    lblSelDate->setObjectName(QStringLiteral("lblSelDate"));
    lblSelDate->setAlignment(Qt::AlignCenter);
    column->addWidget(lblSelDate);
}

void CalendarPart::BuildEventsFrame(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("Events"), parent);
    box->setObjectName(QStringLiteral("fraDayEvents"));
    fraDayEvents = box;
    auto* column = new QVBoxLayout(box);

    lvwDayEvents = new QTreeWidget(box);
    lvwDayEvents->setObjectName(QStringLiteral("lvwDayEvents"));
    lvwDayEvents->setRootIsDecorated(false);
    lvwDayEvents->setColumnCount(2);
    lvwDayEvents->setHeaderLabels({QStringLiteral("Event"), QStringLiteral("Details")});
    lvwDayEvents->header()->resizeSection(0, TwipsToPixels(1700));
    lvwDayEvents->header()->resizeSection(1, TwipsToPixels(2430));
    connect(lvwDayEvents, &QTreeWidget::itemClicked, this, &CalendarPart::lvwDayEvents_Click);
    connect(lvwDayEvents, &QTreeWidget::itemActivated, this, &CalendarPart::lvwDayEvents_Click);
    column->addWidget(lvwDayEvents, 1);

    auto* editor = new QGridLayout;
    cboEvent = new QComboBox(box);
    cboEvent->setObjectName(QStringLiteral("cboEvent"));
    cboEvent->setEditable(true);
    cboEvent->setInsertPolicy(QComboBox::NoInsert);
    connect(cboEvent, &QComboBox::activated, this, [this] { cboEvent->lineEdit()->selectAll(); });
    cmdBrowseEvents = Button(box, QStringLiteral("cmdBrowseEvents"), QStringLiteral("..."));
    cmdBrowseEvents->setFixedWidth(TwipsToPixels(450));
    cmdBrowseEvents->setEnabled(false); // the event-type browser comes with its dialogs
    txtEventDetails = new QLineEdit(box);
    txtEventDetails->setObjectName(QStringLiteral("txtEventDetails"));
    dtpStartTime = new QTimeEdit(box);
    dtpStartTime->setObjectName(QStringLiteral("dtpStartTime"));
    dtpEndTime = new QTimeEdit(box);
    dtpEndTime->setObjectName(QStringLiteral("dtpEndTime"));
    for (QTimeEdit* t : {dtpStartTime, dtpEndTime}) {
        t->setDisplayFormat(QStringLiteral("hh:mm AP"));
        t->setTime(QTime(0, 0, 0));
    }
    editor->addWidget(Caption(box, QStringLiteral("&Event:"), cboEvent), 0, 0);
    editor->addWidget(cboEvent, 0, 1);
    editor->addWidget(cmdBrowseEvents, 0, 2);
    editor->addWidget(Caption(box, QStringLiteral("De&tails:"), txtEventDetails), 1, 0);
    editor->addWidget(txtEventDetails, 1, 1, 1, 2);
    editor->addWidget(Caption(box, QStringLiteral("St&art:"), dtpStartTime), 2, 0);
    editor->addWidget(dtpStartTime, 2, 1, 1, 2);
    editor->addWidget(Caption(box, QStringLiteral("E&nd:"), dtpEndTime), 3, 0);
    editor->addWidget(dtpEndTime, 3, 1, 1, 2);
    column->addLayout(editor);

    auto* buttons = new QHBoxLayout;
    cmdCalEventSave = Button(box, QStringLiteral("cmdCalEventSave"), QStringLiteral("&Save"));
    cmdCalEventDelete = Button(box, QStringLiteral("cmdCalEventDelete"), QStringLiteral("&Delete"));
    cmdCalEventClear = Button(box, QStringLiteral("cmdCalEventClear"), QStringLiteral("&Clear"));
    for (QPushButton* b : {cmdCalEventSave, cmdCalEventDelete, cmdCalEventClear}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(cmdCalEventSave, &QPushButton::clicked, this, &CalendarPart::cmdCalEventSave_Click);
    connect(cmdCalEventDelete, &QPushButton::clicked, this, &CalendarPart::cmdCalEventDelete_Click);
    connect(cmdCalEventClear, &QPushButton::clicked, this, &CalendarPart::cmdCalEventClear_Click);
    column->addLayout(buttons);
}

void CalendarPart::BuildJournal(QWidget* parent) {
    auto* title = new QLabel(QStringLiteral("Journal"), parent);
    rtfCalQJournal = new QPlainTextEdit(parent);
    rtfCalQJournal->setObjectName(QStringLiteral("rtfCalQJournal"));
    title->setBuddy(rtfCalQJournal);
    parent->layout()->addWidget(title);
    parent->layout()->addWidget(rtfCalQJournal);
    connect(rtfCalQJournal, &QPlainTextEdit::textChanged, this, [this] { JournalChanged = true; });
}

bool CalendarPart::eventFilter(QObject* watched, QEvent* event) {
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

bool CalendarPart::DayOfText(const QString& text, QDate& day) const {
    const auto v = ReadDate(text);
    if (!v || !v->hasDate)
        return false;
    day = v->date;
    return true;
}

// ---- Month grid and navigation --------------------------------------------------------

void CalendarPart::PopulateCalendarCombos() {
    for (int m = 1; m <= 12; ++m)
        cboMonth->addItem(MonthName(m));
    for (int y = 1995; y <= 2050; ++y)
        cboYear->addItem(QString::number(y));
}

void CalendarPart::RenderCalFrame() {
    flxCalModel.Clear();
    const char* headers[] = {"Sun", "Mon", "Tues", "Wed", "Thurs", "Fri", "Sat"};
    for (int c = 0; c < CalGridModel::kCols; ++c)
        flxCalModel.SetText(0, c, QString::fromLatin1(headers[c]));
    CalNormalColor = flxCal->palette().color(QPalette::Base);
    CalSelectedColor = QColor(255, 255, 0);
    CalFilledColor = QColor(128, 128, 255);
    fraEditMonthYear->hide();
    const QDate today = QDate::currentDate();
    cboMonth->setCurrentText(MonthName(today.month()));
    cboYear->setCurrentText(VbFormat(today, QStringLiteral("yyyy")));
}

void CalendarPart::LeaveCurrentDay() {
    if (flxCalModel.Row() == 6 && flxCalModel.Col() == 6)
        flxCalModel.MoveTo(1, 0);
    else
        flxCalModel.MoveTo(6, 6);
}

void CalendarPart::RenderCalMonth(const QString& month, const QString& year) {
    LeaveCurrentDay();
    CalRendering = true;
    RenderCalFrame();
    const QDate first(year.toInt(), MonthNumber(month), 1);
    PopulateFilledDays(first);
    const int w = Weekday(first);
    int n = 1;
    QDate d = first;
    auto put = [&](int row, int col) {
        flxCalModel.SetText(row, col, QString::number(n));
        if (FilledDays[static_cast<size_t>(n)])
            flxCalModel.SetBackColor(row, col, CalFilledColor);
        ++n;
        d = d.addDays(1);
    };
    for (int col = w - 1; col <= 6; ++col)
        put(1, col);
    for (int row = 2; row <= 6; ++row)
        for (int col = 0; col <= 6 && d.month() == first.month(); ++col)
            put(row, col);
    lblCalMonth->setText(month + QLatin1Char(' ') + year);
    cboMonth->setCurrentText(month);
    cboYear->setCurrentText(year);
    flxCalModel.SetRow(0);
    flxCalModel.SetCol(0);
    flxCalModel.SetCol(w - 1);
    flxCalModel.SetRow(1);
    CalRendering = false;
    flxCal_EnterCell();
}

void CalendarPart::PopulateFilledDays(const QDate& firstDay) {
    CalMonthStart = firstDay;
    const QDate last = firstDay.addMonths(1).addDays(-1);
    FilledDays.fill(false);
    Recordset rs;
    try {
        const QString range = QStringLiteral(" where caldate between #") + SqlDay(firstDay) +
                              QStringLiteral("# and #") + SqlDay(last) +
                              QStringLiteral("# order by caldate asc");
        // A day is filled by a journal that is not blank, or by an event.
        auto mark = [&](const QString& table, const QString& field) {
            gSQL = QStringLiteral("select * from ") + table + range;
            rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
            for (; !rs.Eof(); rs.MoveNext())
                if (!NullToEmpty(rs.Field(field)).isEmpty()) {
                    const QDate day = rs.Field(QStringLiteral("caldate")).toDate();
                    if (day.isValid())
                        FilledDays[static_cast<size_t>(day.day())] = true;
                }
            rs.Close();
        };
        mark(QStringLiteral("pmcalendar"), QStringLiteral("caljournal"));
        mark(QStringLiteral("pmcaleventdate"), QStringLiteral("calevent"));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting Filled Days!"), QStringLiteral("Error!"), e);
        rs.CloseIfOpen();
    }
}

void CalendarPart::flxCal_EnterCell() {
    if (CalRendering)
        return;
    try {
        flxCalModel.SetBackColor(flxCalModel.Row(), flxCalModel.Col(), CalSelectedColor);
        rtfCalQJournal->setReadOnly(false);
        dayLoadFailed_ = false;
        ClearCalendarEntry();
        const QString text = flxCalModel.CurrentText();
        if (!text.isEmpty()) {
            lblSelDate->setText(text + QLatin1Char(' ') + lblCalMonth->text());
            RefreshEventsList();
            LoadJournal();
            form_.tabCalendar->SelectKey(QStringLiteral("Diary"));
        } else {
            lblSelDate->clear();
        }
        JournalChanged = false;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Calendar values!"),
                  QStringLiteral("DB Error!"), e);
        // What the day holds is unknown: an empty box must not replace it on leaving.
        dayLoadFailed_ = true;
        JournalChanged = false;
        rtfCalQJournal->setReadOnly(true);
    }
}

void CalendarPart::flxCal_LeaveCell() {
    if (CalRendering || flxCalModel.CurrentText() == QLatin1String("Sun"))
        return;
    if (!cboEvent->currentText().isEmpty() || !txtEventDetails->text().isEmpty()) {
        SaveEventEntry(lblSelDate->text(), true);
        try {
            RefreshEventsList();
        } catch (const RuntimeError& e) {
            ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                      QStringLiteral("Error!"), e);
        }
    }
    SaveCalendarEntry(lblSelDate->text());
    const QString text = flxCalModel.CurrentText();
    const int row = flxCalModel.Row(), col = flxCalModel.Col();
    if (!text.isEmpty()) {
        const bool filled =
            !rtfCalQJournal->toPlainText().isEmpty() || lvwDayEvents->topLevelItemCount() > 0;
        const int day = text.toInt();
        if (day >= 1 && day <= 31)
            FilledDays[static_cast<size_t>(day)] = filled;
        flxCalModel.SetBackColor(row, col, filled ? CalFilledColor : CalNormalColor);
    } else {
        flxCalModel.SetBackColor(row, col, CalNormalColor);
    }
}

void CalendarPart::SelectDay(int day) {
    const QString wanted = QString::number(day);
    for (int r = 1; r <= 6; ++r)
        for (int c = 0; c <= 6; ++c)
            if (flxCalModel.Text(r, c) == wanted) {
                flxCalModel.SetRow(r);
                flxCalModel.SetCol(c);
                return;
            }
}

void CalendarPart::NavigateCalByDay(const QString& day, const QString& direction) {
    QDate d;
    if (day.isEmpty() || !DayOfText(day, d))
        return;
    d = d.addDays(direction == QLatin1String("N") ? 1 : -1);
    if (!CalMonthStart || CalMonthStart->year() != d.year() ||
        CalMonthStart->month() != d.month()) {
        LeaveCurrentDay();
        RenderCalMonth(MonthName(d.month()), VbFormat(d, QStringLiteral("yyyy")));
    }
    flxCalModel.SetRow(1);
    flxCalModel.SetCol(0);
    SelectDay(d.day());
}

void CalendarPart::cmdPrevDay_Click() {
    QDate d;
    if (DayOfText(lblSelDate->text(), d))
        NavigateCalByDay(SqlDay(d), QStringLiteral("P"));
}

void CalendarPart::cmdNextDay_Click() {
    QDate d;
    if (DayOfText(lblSelDate->text(), d))
        NavigateCalByDay(SqlDay(d), QStringLiteral("N"));
}

void CalendarPart::cmdCalToday_Click() {
    LeaveCurrentDay();
    const QDate today = QDate::currentDate();
    if (!CalMonthStart || CalMonthStart->year() != today.year() ||
        CalMonthStart->month() != today.month())
        RenderCalMonth(MonthName(today.month()), VbFormat(today, QStringLiteral("yyyy")));
    flxCalModel.SetRow(1);
    flxCalModel.SetCol(0);
    SelectDay(today.day());
    lblSelDate->setText(SelectedDayText(today));
}

namespace {
// The month the combos name, or nothing when they do not name one.
std::optional<QDate> ComboMonth(const QComboBox* month, const QComboBox* year) {
    const int m = MonthNumber(month->currentText().trimmed());
    bool ok = false;
    const int y = year->currentText().trimmed().toInt(&ok);
    if (!m || !ok || y < 100 || y > 9999)
        return std::nullopt;
    return QDate(y, m, 1);
}
} // namespace

void CalendarPart::cmdPrevMonth_Click() {
    const QDate d = ComboMonth(cboMonth, cboYear)
                        .value_or(CalMonthStart.value_or(QDate::currentDate()))
                        .addMonths(-1);
    RenderCalMonth(MonthName(d.month()), VbFormat(d, QStringLiteral("yyyy")));
}

void CalendarPart::cmdNextMonth_Click() {
    const QDate d = ComboMonth(cboMonth, cboYear)
                        .value_or(CalMonthStart.value_or(QDate::currentDate()))
                        .addMonths(1);
    RenderCalMonth(MonthName(d.month()), VbFormat(d, QStringLiteral("yyyy")));
}

void CalendarPart::lblCalMonth_DblClick() {
    fraEditMonthYear->show();
    cboMonth->setFocus();
}

void CalendarPart::cmdOK_Click() {
    const auto d = ComboMonth(cboMonth, cboYear);
    if (!d) {
        MsgBox(QStringLiteral("Please choose a month from January to December and type a year "
                              "from 100 to 9999."),
               MsgButtons::OK, MsgIcon::Exclamation);
        cboMonth->setFocus();
        return;
    }
    RenderCalMonth(MonthName(d->month()), VbFormat(*d, QStringLiteral("yyyy")));
    fraEditMonthYear->hide();
}

void CalendarPart::mnuSwapCal_Click() {
    leftColumn_->removeWidget(fraCal);
    leftColumn_->removeWidget(fraDayEvents);
    calendarOnTop_ = !calendarOnTop_;
    if (calendarOnTop_) {
        leftColumn_->addWidget(fraCal);
        leftColumn_->addWidget(fraDayEvents, 1);
    } else {
        leftColumn_->addWidget(fraDayEvents, 1);
        leftColumn_->addWidget(fraCal);
    }
}

// ---- Journal --------------------------------------------------------------------------

void CalendarPart::ClearEventEditor() {
    txtEventDetails->clear();
    cboEvent->setEditText(QString());
    dtpStartTime->setTime(QTime(0, 0, 0));
    dtpEndTime->setTime(QTime(0, 0, 0));
}

void CalendarPart::ClearCalendarEntry() {
    lvwDayEvents->clear();
    ClearEventEditor();
    rtfCalQJournal->clear();
}

void CalendarPart::LoadJournal() {
    QDate day;
    if (!DayOfText(lblSelDate->text(), day))
        return;
    Recordset rs;
    gSQL = QStringLiteral("select caljournal from pmcalendar where caldate =#") + SqlDay(day) +
           QStringLiteral("#");
    rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
    if (!rs.Eof())
        rtfCalQJournal->setPlainText(NullToEmpty(rs.Field(QStringLiteral("caljournal"))));
    rs.Close();
}

bool CalendarPart::SaveCalendarEntry(const QString& dayText) {
    QDate day;
    if (!IsDate(lblSelDate->text()) || !JournalChanged || dayLoadFailed_ ||
        !DayOfText(dayText, day))
        return true;
    Recordset rs;
    try {
        QString journal = rtfCalQJournal->toPlainText();
        QString statement;
        if (!TrimSpaces(journal).isEmpty()) {
            gSQL = QStringLiteral("select caldate from pmcalendar where caldate =#") + SqlDay(day) +
                   QStringLiteral("#");
            rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
            if (rs.Eof())
                statement =
                    QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('") +
                    SqlDay(day) + QStringLiteral("','") + FixQuote(journal) + QStringLiteral("')");
            else
                statement = QStringLiteral("update pmcalendar set caljournal = '") +
                            FixQuote(journal) + QStringLiteral("' where caldate = #") +
                            SqlDay(day) + QStringLiteral("#");
            rs.Close();
        } else {
            statement = QStringLiteral("delete from pmcalendar where caldate = #") + SqlDay(day) +
                        QStringLiteral("#");
        }
        gSQL = statement;
        gConn->Execute(gSQL);
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving information!"),
                  QStringLiteral("Database Error!"), e);
        rs.CloseIfOpen();
        return false;
    }
}

// ---- Events ---------------------------------------------------------------------------

void CalendarPart::PopulateEventsCombo() {
    Recordset rs;
    try {
        cboEvent->clear();
        gSQL = QStringLiteral("select calevent from pmCalEvent order by calevent");
        rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
        for (; !rs.Eof(); rs.MoveNext())
            cboEvent->addItem(NullToEmpty(rs.Field(QStringLiteral("calevent"))));
        rs.Close();
        cboEvent->setEditText(QString());
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while loading the event types!"), QStringLiteral("Error!"),
                  e);
        rs.CloseIfOpen();
    }
}

void CalendarPart::RefreshEventsList() {
    lvwDayEvents->clear();
    QDate day;
    if (!DayOfText(lblSelDate->text(), day))
        return;
    Recordset rs;
    gSQL = QStringLiteral("select * from pmcaleventdate where caldate =#") + SqlDay(day) +
           QStringLiteral("#");
    rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        auto* item = new QTreeWidgetItem(lvwDayEvents);
        item->setText(0, NullToEmpty(rs.Field(QStringLiteral("calevent"))));
        item->setText(1, NullToEmpty(rs.Field(QStringLiteral("eventdetails"))));
    }
    rs.Close();
}

void CalendarPart::ShowEventMissing(const QString& name) {
    MsgBox(QStringLiteral("There isn't an event called '") + name +
               QStringLiteral("'!  Please make sure that the event is matches any one of those "
                              "in the Drop-down box!"),
           MsgButtons::OK, MsgIcon::Information);
    cboEvent->setFocus();
}

bool CalendarPart::SaveEventEntry(const QString& dayText, bool quiet) {
    QDate day;
    const QString name = cboEvent->currentText();
    if (!DayOfText(dayText, day) || TrimSpaces(name).isEmpty())
        return true;
    Recordset rs;
    try {
        QString quoted = name;
        FixQuote(quoted);
        gSQL = QStringLiteral("select * from pmCalEvent where calEvent = '") + quoted +
               QStringLiteral("'");
        rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
        if (rs.Eof()) {
            rs.Close();
            if (!quiet)
                ShowEventMissing(name);
            return true;
        }
        rs.Close();
        gSQL = QStringLiteral("select caldate, calevent from pmcaleventdate where caldate = #") +
               SqlDay(day) + QStringLiteral("# and calevent = '") + quoted + QStringLiteral("'");
        rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
        const QString start = SqlTime(dtpStartTime->time());
        const QString end = SqlTime(dtpEndTime->time());
        QString details = txtEventDetails->text();
        FixQuote(details);
        QString statement;
        if (!rs.Eof())
            statement = QStringLiteral("update pmcaleventdate set eventdetails = '") + details +
                        QStringLiteral("', timestart=#") + start + QStringLiteral("#,timeend=#") +
                        end + QStringLiteral("# where caldate = #") + SqlDay(day) +
                        QStringLiteral("# and calevent = '") + quoted + QStringLiteral("'");
        else
            statement = QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,"
                                       "timestart,timeend) values (#") +
                        SqlDay(day) + QStringLiteral("#,'") + quoted + QStringLiteral("','") +
                        details + QStringLiteral("',#") + start + QStringLiteral("#,#") + end +
                        QStringLiteral("#)");
        rs.Close();
        gSQL = statement;
        gConn->Execute(gSQL);
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving information!"),
                  QStringLiteral("Database Error!"), e);
        rs.CloseIfOpen();
        return false;
    }
}

bool CalendarPart::DeleteEventEntry(const QString& dayText) {
    QDate day;
    const QString name = cboEvent->currentText();
    Recordset rs;
    try {
        if (DayOfText(dayText, day) && !TrimSpaces(name).isEmpty()) {
            QString quoted = name;
            FixQuote(quoted);
            gSQL = QStringLiteral("select * from pmCalEvent where calEvent = '") + quoted +
                   QStringLiteral("'");
            rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
            if (rs.Eof()) {
                ShowEventMissing(name);
            } else {
                gSQL = QStringLiteral("delete from pmcaleventdate where caldate = #") +
                       SqlDay(day) + QStringLiteral("# and calevent = '") + quoted +
                       QStringLiteral("'");
                gConn->Execute(gSQL);
            }
            rs.Close();
        }
        ClearEventEditor();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while deleting event!"), QStringLiteral("Database Error!"),
                  e);
        rs.CloseIfOpen();
        return false;
    }
}

void CalendarPart::cmdCalEventSave_Click() {
    SaveEventEntry(lblSelDate->text(), false);
    try {
        RefreshEventsList();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                  QStringLiteral("Error!"), e);
    }
}

void CalendarPart::cmdCalEventDelete_Click() {
    DeleteEventEntry(lblSelDate->text());
    try {
        RefreshEventsList();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                  QStringLiteral("Error!"), e);
    }
}

void CalendarPart::cmdCalEventClear_Click() {
    ClearEventEditor();
}

void CalendarPart::lvwDayEvents_Click() {
    QTreeWidgetItem* item = lvwDayEvents->currentItem();
    if (lvwDayEvents->topLevelItemCount() == 0 || !item || item->text(0).isEmpty())
        return;
    QDate day;
    if (!DayOfText(lblSelDate->text(), day))
        return;
    Recordset rs;
    try {
        QString name = item->text(0);
        gSQL = QStringLiteral("select * from pmcaleventdate where caldate =#") + SqlDay(day) +
               QStringLiteral("# and calevent = '") + FixQuote(name) + QStringLiteral("'");
        rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
        if (!rs.Eof()) {
            cboEvent->setEditText(NullToEmpty(rs.Field(QStringLiteral("calevent"))));
            txtEventDetails->setText(NullToEmpty(rs.Field(QStringLiteral("eventdetails"))));
            dtpStartTime->setTime(TimeOf(NullToEmpty(rs.Field(QStringLiteral("timestart")))));
            dtpEndTime->setTime(TimeOf(NullToEmpty(rs.Field(QStringLiteral("timeend")))));
        }
        rs.Close();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                  QStringLiteral("Error!"), e);
        rs.CloseIfOpen();
    }
}

void CalendarPart::SavePendingWork() {
    if (!cboEvent->currentText().isEmpty() && !txtEventDetails->text().isEmpty())
        SaveEventEntry(lblSelDate->text(), true);
    SaveCalendarEntry(lblSelDate->text());
}
