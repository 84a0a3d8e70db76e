#include "calendar/EventTypesList.h"

#include "controls/ReportList.h"
#include "controls/Twips.h"
#include "store/EventTypeStore.h"

#include <QTreeWidget>

QTreeWidget* MakeEventTypesList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("lvwEvents"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Event"), QStringLiteral("Description")});
    SetColumnWidthsTwips(list, {1695, 4275});
    list->setMinimumWidth(TwipsToPixels(1695 + 4275 + 300));
    return list;
}

void PopulateEventsLvw(QTreeWidget* lvwEvents) {
    lvwEvents->clear();
    for (const EventTypeStore::EventType& type : EventTypeStore::All()) {
        auto* item = new QTreeWidgetItem(lvwEvents);
        item->setText(0, type.name);
        item->setText(1, type.description);
    }
    // As the list always had: its first item is the selected one.
    if (lvwEvents->topLevelItemCount() > 0)
        lvwEvents->setCurrentItem(lvwEvents->topLevelItem(0));
}
