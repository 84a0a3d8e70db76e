#include "calendar/frmEvents.h"

#include "calendar/EventTypesList.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/ReportList.h"
#include "platform/Prompter.h"
#include "store/EventTypeStore.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

frmEvents::frmEvents(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEvents"));
    setWindowTitle(QStringLiteral("Event Maintenance"));
    lvwEvents = MakeEventTypesList(this);
    Frame1 = new QGroupBox(QStringLiteral("Event"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    txtEvent = new QLineEdit(Frame1);
    txtEvent->setObjectName(QStringLiteral("txtEvent"));
    txtDesc = new QLineEdit(Frame1);
    txtDesc->setObjectName(QStringLiteral("txtDesc"));
    auto* fields = new QGridLayout(Frame1);
    auto* eventLabel = new QLabel(QStringLiteral("&Event:"), Frame1);
    eventLabel->setBuddy(txtEvent);
    auto* descLabel = new QLabel(QStringLiteral("De&sc:"), Frame1);
    descLabel->setBuddy(txtDesc);
    fields->addWidget(eventLabel, 0, 0);
    fields->addWidget(txtEvent, 0, 1);
    fields->addWidget(descLabel, 1, 0);
    fields->addWidget(txtDesc, 1, 1);

    cmdEventSave = new QPushButton(QStringLiteral("Save"), this);
    cmdEventSave->setObjectName(QStringLiteral("cmdEventSave"));
    cmdEventDel = new QPushButton(QStringLiteral("Delete"), this);
    cmdEventDel->setObjectName(QStringLiteral("cmdEventDel"));
    Command3 = new QPushButton(QStringLiteral("Close"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdEventSave, cmdEventDel, Command3}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwEvents, 1);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(cmdEventSave, &QPushButton::clicked, this, &frmEvents::cmdEventSave_Click);
    connect(cmdEventDel, &QPushButton::clicked, this, &frmEvents::cmdEventDel_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    ConnectClick(lvwEvents, [this] { lvwEvents_Click(); });
    connect(lvwEvents->header(), &QHeaderView::sectionClicked, this,
            &frmEvents::lvwEvents_ColumnClick);
    lvwEvents->header()->setSectionsClickable(true);
    txtEvent->installEventFilter(this);
    txtDesc->installEventFilter(this);
    try {
        PopulateEventsLvw(lvwEvents);
    } catch (const RuntimeError& e) {
        // The dialog opens all the same; the list is what could be read.
        ShowError(QStringLiteral("Error while loading the event types!"), QStringLiteral("Error!"),
                  e);
    }
}

bool frmEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == txtEvent || watched == txtDesc)) {
        auto* box = static_cast<QLineEdit*>(watched);
        // After the focus has settled, or a mouse click would undo the selection.
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmEvents::cmdEventSave_Click() {
    txtEvent->setText(TrimSpaces(txtEvent->text()));
    QString name = txtEvent->text();
    if (name.isEmpty()) {
        MsgBox(QStringLiteral("Please key in an Event Name!"), MsgButtons::OK,
               MsgIcon::Exclamation);
        return;
    }
    try {
        EventTypeStore::Save(name, txtDesc->text());
        PopulateEventsLvw(lvwEvents);
        emit eventTypesChanged();
        txtDesc->clear();
        txtEvent->clear();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving record!"), QStringLiteral("DB Error"), e);
    }
}

void frmEvents::cmdEventDel_Click() {
    const QString trimmed = TrimSpaces(txtEvent->text());
    if (trimmed.isEmpty())
        return;
    try {
        const QString name = txtEvent->text();
        if (EventTypeStore::InUse(name)) {
            MsgBox(QStringLiteral("The Event is currently being used, and cannot be deleted!"));
        } else if (!EventTypeStore::Exists(name)) {
            MsgBox(QStringLiteral("There is no such Event (") + trimmed +
                   QStringLiteral(") to delete!"));
        } else {
            EventTypeStore::Delete(name);
            PopulateEventsLvw(lvwEvents);
        }
        txtEvent->clear();
        txtDesc->clear();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while deleting record!"), QStringLiteral("DB Error"), e);
    }
}

void frmEvents::lvwEvents_Click() {
    QTreeWidgetItem* item = lvwEvents->currentItem();
    if (lvwEvents->topLevelItemCount() == 0 || !item)
        return;
    txtEvent->setText(item->text(0));
    txtDesc->setText(item->text(1));
}

void frmEvents::lvwEvents_ColumnClick(int column) {
    descending_ = !descending_;
    lvwEvents->setSortingEnabled(true);
    lvwEvents->sortByColumn(column, descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}
