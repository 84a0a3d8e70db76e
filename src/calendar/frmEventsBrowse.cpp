#include "calendar/frmEventsBrowse.h"

#include "calendar/EventTypesList.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmEventsBrowse::frmEventsBrowse(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEventsBrowse"));
    setWindowTitle(QStringLiteral("Browse Events"));
    Frame1 = new QGroupBox(QStringLiteral("Select Event"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lvwEvents = MakeEventTypesList(Frame1);
    (new QVBoxLayout(Frame1))->addWidget(lvwEvents);
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    connect(cmdSelect, &QPushButton::clicked, this, &frmEventsBrowse::cmdSelect_Click);
    connect(lvwEvents, &QTreeWidget::itemDoubleClicked, this, &frmEventsBrowse::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    try {
        PopulateEventsLvw(lvwEvents);
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while loading the event types!"), QStringLiteral("Error!"),
                  e);
    }
}

void frmEventsBrowse::cmdSelect_Click() {
    QTreeWidgetItem* item = lvwEvents->currentItem();
    if (lvwEvents->topLevelItemCount() == 0 || !item)
        return;
    chosen_ = item->text(0);
    accept();
}
