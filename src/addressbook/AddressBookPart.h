#pragma once

#include <QObject>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QWidget;
class TabStrip;

// The Address Book function: laid out, holding no data. Its tabs switch between the contacts
// and the contact lists, its filter and quick-find boxes show grey placeholders until the
// user types, and its lists open their pop-up menus, whose items do nothing. Its menu exists
// from the start; its controls are built when it is first shown.
class AddressBookPart : public QObject {
    Q_OBJECT
public:
    AddressBookPart(QFrame* frame, QMenu* menu);

    // Builds the controls, once; the frame is to be shown next.
    void EnsureBuilt();
    void BuildAddBookTab();
    void ApplyToolTips(bool enable);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpTab();
    QFrame* frame_;
    bool built_ = false;
    bool setUp_ = false;
    bool toolTips_ = false;
    TabStrip* tabAddBookMain = nullptr;
    QWidget* fraABContacts = nullptr;
    QWidget* fraABContactLists = nullptr;
    QTreeWidget* lvwABContacts = nullptr;
    QTreeWidget* lvwABContactLists = nullptr;
    QComboBox* cboABCategory = nullptr;
    QComboBox* cboABContactLists = nullptr;
    QLineEdit* txtABContactsQuickFind = nullptr;
    QLineEdit* txtABContactListsQuickFind = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QMenu* mnuContactsMenu = nullptr;
    QMenu* mnuContactListMenu = nullptr;

    QTreeWidget* BuildList(QWidget* frame, const char* name, const QStringList& columns,
                           QComboBox*& filter, const char* filterName, QLineEdit*& find,
                           const char* findName, QLabel*& image, const char* imageName);
    QMenu* BuildMenu(const char* name, const char* caption, const QStringList& items);
    void Grey(QWidget* box, bool grey);
};
