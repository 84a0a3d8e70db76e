#include "calendar/CalendarPart.h"

#include "calendar/CalGridModel.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarSearch.h"
#include "calendar/DayEventsPanel.h"
#include "calendar/JournalPanel.h"
#include "calendar/frmEvents.h"
#include "calendar/modCalendar.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/ImageList.h"
#include "controls/TabStrip.h"
#include "controls/TextFinder.h"
#include "controls/Twips.h"
#include "platform/Application.h"
#include "platform/Clock.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace modCalendar;

namespace {
// Where the grid and the events frame stand, and the events frame's height when on top.
constexpr int kGridTop = 900;
constexpr int kEventsTop = 6840;
constexpr int kEventsHeight = 3195;
} // namespace

CalendarPart::CalendarPart(QFrame* frame, QMenu* menu, TextFinder& finder)
    : QObject(frame), frame_(frame), finder_(finder) {
    // The designed places, in twips inside the function frame; the resize rules size the
    // tab strip and what lies inside it.
    grid_ = new CalendarGrid(frame);
    events_ = new DayEventsPanel(frame, *grid_);
    grid_->Place({120, kGridTop, 4440, 5940});
    events_->Place({120, kEventsTop, 4440, kEventsHeight});
    tabCalendar = new TabStrip(frame, QStringLiteral("tabCalendar"), TabStrip::SizedByOwner);
    PlaceTwips(tabCalendar, {4680, 960, 8955, 9315});
    fraCalDiary = tabCalendar->AddFrame(QStringLiteral("fraCalDiary"), QStringLiteral("Journal"));
    fraCalSearch =
        tabCalendar->AddFrame(QStringLiteral("fraCalSearch"), QStringLiteral("Search Calendar"));
    for (QWidget* f : {fraCalDiary, fraCalSearch})
        PlaceTwips(f, {120, 360, 8715, 8835});
    tabSearchCalendar =
        new TabStrip(fraCalSearch, QStringLiteral("tabSearchCalendar"), TabStrip::FramesFollow);
    PlaceTwips(tabSearchCalendar, {120, 240, 8475, 2040});
    fraSearchJournal =
        tabSearchCalendar->AddFrame(QStringLiteral("fraSearchJournal"), QStringLiteral("Journal"));
    fraSearchEvents =
        tabSearchCalendar->AddFrame(QStringLiteral("fraSearchEvents"), QStringLiteral("Events"));
    journal_ = new JournalPanel(fraCalDiary, *grid_, finder_);
    search_ = new CalendarSearch(fraCalSearch, fraSearchJournal, fraSearchEvents, *grid_);

    connect(&grid_->Cells(), &CalGridModel::leaveCell, this, &CalendarPart::flxCal_LeaveCell);
    connect(&grid_->Cells(), &CalGridModel::enterCell, this, &CalendarPart::flxCal_EnterCell);
    connect(search_, &CalendarSearch::dayChosen, this, &CalendarPart::FindDay);
    connect(search_, &CalendarSearch::foundInDay, this,
            [this](const QString& what, bool caseSensitive) {
                tabCalendar->SelectKey(QStringLiteral("Diary"));
                ShowCalendarFind(true);
                finder_.FindText(QStringLiteral("F"), QString::number(gCurrentFunction), what,
                                 caseSensitive);
                journal_->SetFindText(what);
            });
    BuildMenu(menu);
}

CalendarPart::~CalendarPart() = default;

void CalendarPart::BuildMenu(QMenu* menu) {
    auto add = [&](QMenu* in, const char* name, const char* caption, const QKeySequence& key,
                   auto handler) {
        QAction* a = in->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        a->setEnabled(false); // until the set-up has run
        connect(a, &QAction::triggered, this, handler);
        actions_ << a;
        return a;
    };
    add(menu, "mnuPrevDay", "Prev Day", Qt::Key_F2, [this] { grid_->cmdPrevDay_Click(); });
    add(menu, "mnuNextDay", "Next Day", Qt::Key_F3, [this] { grid_->cmdNextDay_Click(); });
    add(menu, "mnuPrevMonth", "Prev Month", Qt::Key_F5, [this] { grid_->cmdPrevMonth_Click(); });
    add(menu, "mnuNextMonth", "Next Month", Qt::Key_F6, [this] { grid_->cmdNextMonth_Click(); });
    add(menu, "mnuToday", "Today", Qt::Key_F4, [this] { grid_->cmdCalToday_Click(); });
    menu->addSeparator();
    add(menu, "mnuSwapCal", "Swap Calendar/Event", {}, [this] { mnuSwapCal_Click(); });
    menu->addSeparator();
    QMenu* maint = menu->addMenu(QStringLiteral("&Maintenance"));
    maint->setObjectName(QStringLiteral("mnuMaint"));
    maint->menuAction()->setObjectName(QStringLiteral("mnuMaint"));
    add(maint, "mnuMaintEvents", "&Events...", {}, [this] { mnuMaintEvents_Click(); });
}

void CalendarPart::BuildCalendarTab() {
    tabCalendar->RemoveAll();
    tabCalendar->AddTab(QStringLiteral("Diary"), QStringLiteral("Diary"),
                        PictureIcon(Picture::Diary));
    tabCalendar->AddTab(QStringLiteral("Search"), QStringLiteral("Search"),
                        PictureIcon(Picture::Search));
    tabCalendar->setCurrentIndex(0);
    tabSearchCalendar->RemoveAll();
    tabSearchCalendar->AddTab(QStringLiteral("Search Journal"), QStringLiteral("SearchJournal"),
                              PictureIcon(Picture::Diary));
    tabSearchCalendar->AddTab(QStringLiteral("Search Events"), QStringLiteral("SearchEvents"),
                              PictureIcon(Picture::Events));
    tabSearchCalendar->setCurrentIndex(0);
    BringToFront(fraCalDiary);
    BringToFront(fraSearchJournal);
    search_->ChooseDefaults();
    grid_->PopulateCalendarCombos();
    events_->PopulateEventsCombo();
    grid_->RenderCalFrame();
    grid_->cmdCalToday_Click();
    PopulateHeadsUp();
    ShowCalendarFind(false);
    for (QAction* a : std::as_const(actions_))
        a->setEnabled(true);
}

void CalendarPart::ClearCalendarEntry() {
    events_->Clear();
    journal_->Clear();
}

void CalendarPart::flxCal_EnterCell() {
    if (CalRendering)
        return;
    CalGridModel& cells = grid_->Cells();
    try {
        ShowCalendarFind(false);
        cells.SetBackColor(cells.Row(), cells.Col(), CalSelectedColor);
        journal_->SetLoadFailed(false);
        ClearCalendarEntry();
        grid_->ShowSelectedDay();
        if (!cells.CurrentText().isEmpty()) {
            events_->RefreshEventsList();
            journal_->LoadJournal();
            tabCalendar->SelectKey(QStringLiteral("Diary"));
        }
        journal_->MarkUnchanged();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Calendar values!"),
                  QStringLiteral("DB Error!"), e);
        journal_->SetLoadFailed(true);
        journal_->MarkUnchanged();
    }
}

void CalendarPart::flxCal_LeaveCell() {
    CalGridModel& cells = grid_->Cells();
    if (CalRendering || cells.CurrentText() == QLatin1String("Sun"))
        return;
    const QString day = grid_->SelectedDay();
    // What could not be saved stays on screen: the day is not left.
    if (events_->EditorHasAnything()) {
        if (!events_->SaveEventEntry(day, true)) {
            cells.RefuseMove();
            return;
        }
        events_->RefreshEventsListReporting();
    }
    if (!journal_->SaveCalendarEntry(day)) {
        cells.RefuseMove();
        return;
    }
    const QString text = cells.CurrentText();
    const int row = cells.Row(), col = cells.Col();
    if (!text.isEmpty()) {
        const bool filled = journal_->HasText() || events_->EventCount() > 0;
        const int n = text.toInt();
        if (n >= 1 && n <= 31)
            FilledDays[static_cast<size_t>(n)] = filled;
        cells.SetBackColor(row, col, filled ? CalFilledColor : CalNormalColor);
    } else {
        cells.SetBackColor(row, col, CalNormalColor);
    }
}

void CalendarPart::mnuSwapCal_Click() {
    TwipsRect grid = grid_->Place();
    TwipsRect events = events_->Place();
    if (grid.top == kGridTop) {
        grid.top = 4080;
        events.top = kGridTop;
        events.height = kEventsHeight;
    } else {
        grid.top = kGridTop;
        events.top = kEventsTop;
    }
    grid_->Place(grid);
    events_->Place(events);
}

void CalendarPart::ShowCalendarFind(bool show) {
    journal_->ShowCalendarFind(show);
}

void CalendarPart::FindDay(const QDate& day) {
    if (day.isValid() && grid_->GoToDay(day))
        tabCalendar->SelectKey(QStringLiteral("Diary"));
}

void CalendarPart::ShowRestoredData() {
    QDate day = QLocale::c().toDate(grid_->SelectedDay(), QStringLiteral("d MMMM yyyy"));
    if (!day.isValid())
        day = Clock::Today();
    // What the boxes hold belongs to the replaced database and was saved into its copy.
    ClearCalendarEntry();
    journal_->MarkUnchanged();
    events_->PopulateEventsCombo();
    grid_->RenderCalMonth(QLocale::c().standaloneMonthName(day.month()),
                          QString::number(day.year()));
    grid_->GoToDay(day);
    flxCal_EnterCell();
}

void CalendarPart::mnuMaintEvents_Click() {
    frmEvents dialog(frame_->window());
    // A saved type is in the day's type list at once.
    connect(&dialog, &frmEvents::eventTypesChanged, events_, &DayEventsPanel::PopulateEventsCombo);
    ShowModal(dialog);
}

void CalendarPart::ApplySizes(const std::vector<TwipsSetting>& settings) {
    ApplyTwipsSettings({tabCalendar, fraCalDiary, fraCalSearch}, settings);
    journal_->ApplySizes(settings);
    search_->ApplySizes(settings);
}

int CalendarPart::JournalTop() const {
    return journal_->Top();
}

bool CalendarPart::SavePendingWork() {
    const QString day = grid_->SelectedDay();
    const bool eventSaved = !events_->EditorHasBoth() || events_->SaveEventEntry(day, true);
    const bool journalSaved = journal_->SaveCalendarEntry(day);
    return eventSaved && journalSaved;
}
