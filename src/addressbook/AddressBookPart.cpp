#include "addressbook/AddressBookPart.h"

#include "common/modQXCommFunc.h"
#include "controls/ImageList.h"
#include "controls/ReportList.h"
#include "controls/TabStrip.h"
#include "controls/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kQuickFilter = QStringLiteral("<Quick Filter>");
const QString kQuickFind = QStringLiteral("<Quick Find>");
} // namespace

AddressBookPart::AddressBookPart(QFrame* frame, QMenu* menu) : QObject(frame), frame_(frame) {
    QMenu* maint = menu->addMenu(QStringLiteral("&Maintenance"));
    maint->setObjectName(QStringLiteral("mnuAddBookMaint"));
    maint->menuAction()->setObjectName(QStringLiteral("mnuAddBookMaint"));
    // The system gives the item no action.
    QAction* categories = maint->addAction(QStringLiteral("Contact Cate&gories"));
    categories->setObjectName(QStringLiteral("mnuAddBookMaintCat"));
}

void AddressBookPart::EnsureBuilt() {
    if (built_)
        return;
    built_ = true;
    QFrame* frame = frame_;
    tabAddBookMain = new TabStrip(frame, QStringLiteral("tabAddBookMain"), TabStrip::FramesFollow);
    PlaceTwips(tabAddBookMain, {120, 960, 13515, 9315});
    fraABContacts =
        tabAddBookMain->AddFrame(QStringLiteral("fraABContacts"), QStringLiteral("Contacts"));
    fraABContactLists = tabAddBookMain->AddFrame(QStringLiteral("fraABContactLists"),
                                                 QStringLiteral("Contact Lists"));
    lvwABContacts = BuildList(fraABContacts, "lvwABContacts",
                              {QStringLiteral("Name"), QStringLiteral("Category")}, cboABCategory,
                              "cboABCategory", txtABContactsQuickFind, "txtABContactsQuickFind",
                              Image2, "Image2");
    lvwABContactLists =
        BuildList(fraABContactLists, "lvwABContactLists",
                  {QStringLiteral("Group Name"), QStringLiteral("Group Category")},
                  cboABContactLists, "cboABContactLists", txtABContactListsQuickFind,
                  "txtABContactListsQuickFind", Image1, "Image1");
    mnuContactsMenu = BuildMenu("mnuContactsMenu", "ABContactsMenu",
                                {QStringLiteral("New Contact"), QStringLiteral("Delete Contact"),
                                 QStringLiteral("Assign to Category")});
    mnuContactListMenu =
        BuildMenu("mnuContactListMenu", "ABContactListMenu",
                  {QStringLiteral("New Contact List"), QStringLiteral("Delete Contact List"),
                   QStringLiteral("Assign to Category")});
    ApplyToolTips(toolTips_);
    if (setUp_)
        SetUpTab();
}

QTreeWidget* AddressBookPart::BuildList(QWidget* frame, const char* name,
                                        const QStringList& columns, QComboBox*& filter,
                                        const char* filterName, QLineEdit*& find,
                                        const char* findName, QLabel*& image,
                                        const char* imageName) {
    filter = new QComboBox(frame);
    filter->setObjectName(QString::fromLatin1(filterName));
    filter->setEditable(true);
    filter->setInsertPolicy(QComboBox::NoInsert);
    filter->setEditText(kQuickFilter);
    filter->installEventFilter(this);
    find = new QLineEdit(kQuickFind, frame);
    find->setObjectName(QString::fromLatin1(findName));
    find->installEventFilter(this);
    image = new QLabel(frame);
    image->setObjectName(QString::fromLatin1(imageName));
    image->setPixmap(PictureIcon(Picture::People).pixmap(24, 24));
    auto* list = new QTreeWidget(frame);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setHeaderLabels(columns);
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
    auto* boxes = new QGridLayout;
    boxes->addWidget(image, 0, 0);
    boxes->addWidget(filter, 0, 1);
    boxes->addWidget(find, 0, 2);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(2, 1);
    auto* column = new QVBoxLayout(frame);
    column->addLayout(boxes);
    column->addWidget(list, 1);
    return list;
}

QMenu* AddressBookPart::BuildMenu(const char* name, const char* caption, const QStringList& items) {
    auto* menu = new QMenu(QString::fromLatin1(caption), tabAddBookMain);
    menu->setObjectName(QString::fromLatin1(name));
    for (const QString& item : items)
        menu->addAction(item); // the system gives them no action
    return menu;
}

void AddressBookPart::Grey(QWidget* box, bool grey) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text,
               grey ? p.color(QPalette::PlaceholderText) : p.color(QPalette::WindowText));
    box->setPalette(p);
}

void AddressBookPart::ApplyToolTips(bool enable) {
    toolTips_ = enable;
    if (!built_)
        return;
    lvwABContacts->setToolTip(enable ? QStringLiteral("Right-click for Contact commands")
                                     : QString());
    lvwABContactLists->setToolTip(enable ? QStringLiteral("Right-click for Contact List commands")
                                         : QString());
}

void AddressBookPart::BuildAddBookTab() {
    setUp_ = true;
    if (built_)
        SetUpTab();
}

void AddressBookPart::SetUpTab() {
    tabAddBookMain->RemoveAll();
    tabAddBookMain->AddTab(QStringLiteral("People"), QStringLiteral("People"),
                           PictureIcon(Picture::People));
    tabAddBookMain->AddTab(QStringLiteral("Groups"), QStringLiteral("Groups"),
                           PictureIcon(Picture::Groups));
    tabAddBookMain->setCurrentIndex(0);
    for (QWidget* box : std::initializer_list<QWidget*>{
             txtABContactsQuickFind, txtABContactListsQuickFind, cboABCategory, cboABContactLists})
        Grey(box, true);
    for (QTreeWidget* list : {lvwABContacts, lvwABContactLists})
        SetColumnWidthsTwips(list, {2520, 1440});
    BringToFront(fraABContacts);
}

bool AddressBookPart::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    // Placeholders: a box's own text while it has no text of the user's.
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // A drop-down list opening is no leaving of the box.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            return false;
        const bool in = type == QEvent::FocusIn;
        if (auto* combo = qobject_cast<QComboBox*>(watched)) {
            const QString trimmed = TrimSpaces(combo->currentText());
            if (in && trimmed == kQuickFilter) {
                combo->setEditText(QString());
                Grey(combo, false);
            } else if (!in && trimmed.isEmpty()) {
                combo->setEditText(kQuickFilter);
                Grey(combo, true);
            }
        } else if (auto* find = qobject_cast<QLineEdit*>(watched)) {
            if (in && find->text() == kQuickFind) {
                Grey(find, false);
                find->clear();
            } else if (!in && TrimSpaces(find->text()).isEmpty()) {
                find->setText(kQuickFind);
                Grey(find, true);
            }
        }
        return false;
    }
    // The right button opens the list's menu at the mouse; the keyboard's menu key too.
    QMenu* menu = nullptr;
    if (watched == lvwABContacts->viewport() || watched == lvwABContacts)
        menu = mnuContactsMenu;
    else if (watched == lvwABContactLists->viewport() || watched == lvwABContactLists)
        menu = mnuContactListMenu;
    if (!menu)
        return false;
    if (type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        menu->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    if (type == QEvent::ContextMenu) {
        auto* context = static_cast<QContextMenuEvent*>(event);
        if (context->reason() != QContextMenuEvent::Mouse)
            menu->popup(context->globalPos());
        return true;
    }
    return false;
}
