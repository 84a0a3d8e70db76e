#include "calendar/DayEventsPanel.h"

#include "calendar/CalendarGrid.h"
#include "calendar/frmEventsBrowse.h"
#include "calendar/modCalendar.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/CommandButton.h"
#include "controls/ReportList.h"
#include "controls/Twips.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "store/CalendarStore.h"
#include "store/EventTypeStore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

DayEventsPanel::DayEventsPanel(QWidget* parent, const CalendarGrid& grid)
    : QObject(parent), grid_(grid) {
    auto* box = new QGroupBox(QStringLiteral("Events"), parent);
    box->setObjectName(QStringLiteral("fraDayEvents"));
    fraDayEvents = box;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    lvwDayEvents = new QTreeWidget(box);
    lvwDayEvents->setObjectName(QStringLiteral("lvwDayEvents"));
    lvwDayEvents->setRootIsDecorated(false);
    lvwDayEvents->setColumnCount(2);
    lvwDayEvents->setHeaderLabels({QStringLiteral("Event"), QStringLiteral("Details")});
    SetColumnWidthsTwips(lvwDayEvents, {1700, 2430});
    ConnectClick(lvwDayEvents, [this] { lvwDayEvents_Click(); });
    column->addWidget(lvwDayEvents, 1);

    auto* editor = new QGridLayout;
    cboEvent = new QComboBox(box);
    cboEvent->setObjectName(QStringLiteral("cboEvent"));
    cboEvent->setEditable(true);
    cboEvent->setInsertPolicy(QComboBox::NoInsert);
    connect(cboEvent, &QComboBox::activated, this, [this] { cboEvent->lineEdit()->selectAll(); });
    cmdBrowseEvents = CommandButton(box, QStringLiteral("cmdBrowseEvents"), QStringLiteral("..."));
    cmdBrowseEvents->setFixedWidth(TwipsToPixels(450));
    cmdBrowseEvents->setAccessibleName(QStringLiteral("Browse Events"));
    connect(cmdBrowseEvents, &QPushButton::clicked, this, &DayEventsPanel::cmdBrowseEvents_Click);
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
    cmdCalEventSave =
        CommandButton(box, QStringLiteral("cmdCalEventSave"), QStringLiteral("&Save"));
    cmdCalEventDelete =
        CommandButton(box, QStringLiteral("cmdCalEventDelete"), QStringLiteral("&Delete"));
    cmdCalEventClear =
        CommandButton(box, QStringLiteral("cmdCalEventClear"), QStringLiteral("&Clear"));
    for (QPushButton* b : {cmdCalEventSave, cmdCalEventDelete, cmdCalEventClear})
        buttons->addWidget(b);
    connect(cmdCalEventSave, &QPushButton::clicked, this, &DayEventsPanel::cmdCalEventSave_Click);
    connect(cmdCalEventDelete, &QPushButton::clicked, this,
            &DayEventsPanel::cmdCalEventDelete_Click);
    connect(cmdCalEventClear, &QPushButton::clicked, this, &DayEventsPanel::cmdCalEventClear_Click);
    column->addLayout(buttons);
}

TwipsRect DayEventsPanel::Place() const {
    return GeometryTwips(fraDayEvents);
}

void DayEventsPanel::Place(const TwipsRect& at) {
    PlaceTwips(fraDayEvents, at);
}

void DayEventsPanel::ClearEventEditor() {
    txtEventDetails->clear();
    cboEvent->setEditText(QString());
    dtpStartTime->setTime(QTime(0, 0, 0));
    dtpEndTime->setTime(QTime(0, 0, 0));
}

void DayEventsPanel::Clear() {
    lvwDayEvents->clear();
    ClearEventEditor();
}

bool DayEventsPanel::EditorHasAnything() const {
    return !cboEvent->currentText().isEmpty() || !txtEventDetails->text().isEmpty();
}

bool DayEventsPanel::EditorHasBoth() const {
    return !cboEvent->currentText().isEmpty() && !txtEventDetails->text().isEmpty();
}

int DayEventsPanel::EventCount() const {
    return lvwDayEvents->topLevelItemCount();
}

void DayEventsPanel::PopulateEventsCombo() {
    // The type being typed in the editor stays while the list is filled again.
    const QString typed = cboEvent->currentText();
    try {
        cboEvent->clear();
        cboEvent->addItems(EventTypeStore::Names());
        cboEvent->setEditText(typed);
    } catch (const RuntimeError& e) {
        cboEvent->setEditText(typed);
        ShowError(QStringLiteral("Error while loading the event types!"), QStringLiteral("Error!"),
                  e);
    }
}

void DayEventsPanel::RefreshEventsList() {
    lvwDayEvents->clear();
    const auto day = DayOfText(grid_.SelectedDay());
    if (!day)
        return;
    for (const CalendarStore::DayEvent& event : CalendarStore::EventsOf(*day)) {
        auto* item = new QTreeWidgetItem(lvwDayEvents);
        item->setText(0, event.type);
        item->setText(1, event.details);
    }
}

void DayEventsPanel::RefreshEventsListReporting() {
    try {
        RefreshEventsList();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                  QStringLiteral("Error!"), e);
    }
}

void DayEventsPanel::ShowEventMissing(const QString& name) {
    MsgBox(QStringLiteral("There isn't an event called '") + name +
               QStringLiteral("'!  Please make sure that the event is matches any one of those "
                              "in the Drop-down box!"),
           MsgButtons::OK, MsgIcon::Information);
    cboEvent->setFocus();
}

bool DayEventsPanel::SaveEventEntry(const QString& dayText, bool quiet) {
    const auto day = DayOfText(dayText);
    const QString name = cboEvent->currentText();
    if (!day || TrimSpaces(name).isEmpty())
        return true;
    try {
        if (!EventTypeStore::IsKnown(name)) {
            if (!quiet)
                ShowEventMissing(name);
            return true;
        }
        CalendarStore::SaveEvent(
            *day, {name, txtEventDetails->text(), dtpStartTime->time(), dtpEndTime->time()});
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving information!"),
                  QStringLiteral("Database Error!"), e);
        return false;
    }
}

bool DayEventsPanel::DeleteEventEntry(const QString& dayText) {
    const auto day = DayOfText(dayText);
    const QString name = cboEvent->currentText();
    try {
        if (day && !TrimSpaces(name).isEmpty()) {
            if (!EventTypeStore::IsKnown(name))
                ShowEventMissing(name);
            else
                CalendarStore::DeleteEvent(*day, name);
        }
        ClearEventEditor();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while deleting event!"), QStringLiteral("Database Error!"),
                  e);
        return false;
    }
}

void DayEventsPanel::cmdCalEventSave_Click() {
    SaveEventEntry(grid_.SelectedDay(), false);
    RefreshEventsListReporting();
}

void DayEventsPanel::cmdCalEventDelete_Click() {
    DeleteEventEntry(grid_.SelectedDay());
    RefreshEventsListReporting();
}

void DayEventsPanel::cmdBrowseEvents_Click() {
    frmEventsBrowse browser(cmdBrowseEvents->window());
    if (ShowModal(browser) == QDialog::Accepted)
        cboEvent->setEditText(browser.Chosen());
}

void DayEventsPanel::cmdCalEventClear_Click() {
    ClearEventEditor();
}

void DayEventsPanel::lvwDayEvents_Click() {
    QTreeWidgetItem* item = lvwDayEvents->currentItem();
    if (lvwDayEvents->topLevelItemCount() == 0 || !item || item->text(0).isEmpty())
        return;
    const auto day = DayOfText(grid_.SelectedDay());
    if (!day)
        return;
    try {
        if (const auto event = CalendarStore::EventOf(*day, item->text(0))) {
            cboEvent->setEditText(event->type);
            txtEventDetails->setText(event->details);
            dtpStartTime->setTime(event->start);
            dtpEndTime->setTime(event->end);
        }
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while retrieving Event for the Day!"),
                  QStringLiteral("Error!"), e);
    }
}
