#pragma once

#include <QObject>

class QFrame;
class QMenu;
class TabStrip;

// The Address Book function: laid out, holding no data.
class AddressBookPart : public QObject {
    Q_OBJECT
public:
    AddressBookPart(QFrame* frame, QMenu* menu);

    void BuildAddBookTab();

    TabStrip* tabAddBookMain = nullptr;
    QWidget* fraABContacts = nullptr;
    QWidget* fraABContactLists = nullptr;
};
