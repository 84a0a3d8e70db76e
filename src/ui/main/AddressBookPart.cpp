#include "ui/main/AddressBookPart.h"

#include "ui/widgets/ImageList.h"
#include "ui/widgets/TabStrip.h"

#include <QAction>
#include <QFrame>
#include <QLayout>
#include <QMenu>

AddressBookPart::AddressBookPart(QFrame* frame, QMenu* menu) : QObject(frame) {
    frame->layout()->addWidget(
        TabbedFrames(frame, QStringLiteral("tabAddBookMain"), tabAddBookMain,
                     {{&fraABContacts, QStringLiteral("fraABContacts")},
                      {&fraABContactLists, QStringLiteral("fraABContactLists")}}));
    QMenu* maint = menu->addMenu(QStringLiteral("&Maintenance"));
    maint->setObjectName(QStringLiteral("mnuAddBookMaint"));
    maint->menuAction()->setObjectName(QStringLiteral("mnuAddBookMaint"));
    // The system gives the item no action.
    QAction* categories = maint->addAction(QStringLiteral("Contact Cate&gories"));
    categories->setObjectName(QStringLiteral("mnuAddBookMaintCat"));
}

void AddressBookPart::BuildAddBookTab() {
    tabAddBookMain->RemoveAll();
    tabAddBookMain->AddTab(QStringLiteral("People"), QStringLiteral("People"), ImageListIcon(24));
    tabAddBookMain->AddTab(QStringLiteral("Groups"), QStringLiteral("Groups"), ImageListIcon(48));
    tabAddBookMain->setCurrentIndex(0);
    BringToFront(fraABContacts);
}
