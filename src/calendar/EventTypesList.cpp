#include "calendar/EventTypesList.h"

#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Twips.h"

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
    Recordset rs;
    gSQL = QStringLiteral("select calevent,caleventdesc from pmcalevent order by calevent asc");
    rs.Open(gSQL, *gConn);
    for (; !rs.Eof(); rs.MoveNext()) {
        auto* item = new QTreeWidgetItem(lvwEvents);
        item->setText(0, NullToEmpty(rs.Field(QStringLiteral("calevent"))));
        item->setText(1, NullToEmpty(rs.Field(QStringLiteral("caleventdesc"))));
    }
    rs.Close();
    // As the list always had: its first item is the selected one.
    if (lvwEvents->topLevelItemCount() > 0)
        lvwEvents->setCurrentItem(lvwEvents->topLevelItem(0));
}
