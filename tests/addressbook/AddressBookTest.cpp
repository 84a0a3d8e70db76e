#include "support/Windows.h"

#include "addressbook/AddressBookPart.h"
#include "controls/TabStrip.h"

#include <QComboBox>

namespace {

class AddressBook : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open();
        ActionOf(window, "mnuFunctionsAddBook")->trigger();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        book = window->findChild<AddressBookPart*>();
    }
    bool Grey(QWidget* box) const {
        return box->palette().color(QPalette::Text) ==
               box->palette().color(QPalette::PlaceholderText);
    }
    AddressBookPart* book = nullptr;
};

TEST_F(AddressBook, TheBoxesShowGreyPlaceholdersUntilTheUserTypes) {
    QComboBox* filter = Named<QComboBox>(window.get(), "cboABCategory");
    QLineEdit* find = Named<QLineEdit>(window.get(), "txtABContactsQuickFind");
    auto text = [&] { return filter->currentText() + '|' + find->text(); };
    EXPECT_EQ(text(), "<Quick Filter>|<Quick Find>");
    EXPECT_TRUE(Grey(filter) && Grey(find) &&
                Grey(Named<QComboBox>(window.get(), "cboABContactLists")) &&
                Grey(Named<QLineEdit>(window.get(), "txtABContactListsQuickFind")));
    // Focus in empties a placeholder; focus out puts it back unless something was typed.
    const std::tuple<const char*, const char*, const char*, bool> steps[] = {
        // typed, shown on focus, shown after, grey after
        {nullptr, "", "<Quick Filter>", true},
        {"Family", "", "Family", false},
        {"   ", "Family", "<Quick Filter>", true}};
    for (auto [typed, onFocus, after, grey] : steps) {
        filter->setFocus(Qt::TabFocusReason);
        EXPECT_FALSE(Grey(filter));
        EXPECT_EQ(filter->currentText(), onFocus);
        if (typed)
            filter->setEditText(typed);
        Named<QTreeWidget>(window.get(), "lvwABContacts")->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(text(), after + QString("|<Quick Find>"));
        EXPECT_EQ(Grey(filter), grey);
    }
    // The quick-find test is exact, and what is left on it trimmed.
    find->setText("<Quick Find> ");
    find->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(find->text(), "<Quick Find> ");
    find->setText("    ");
    Named<QTreeWidget>(window.get(), "lvwABContacts")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(find->text(), "<Quick Find>");
    EXPECT_TRUE(Grey(find));
}

TEST_F(AddressBook, TabsSwitchTheirFrames) {
    EXPECT_FALSE(Named<QWidget>(window.get(), "fraABContacts")->isHidden());
    EXPECT_TRUE(Named<QWidget>(window.get(), "fraABContactLists")->isHidden());
    Named<TabStrip>(window.get(), "tabAddBookMain")->setCurrentIndex(1);
    EXPECT_FALSE(Named<QWidget>(window.get(), "fraABContactLists")->isHidden());
    EXPECT_TRUE(Named<QWidget>(window.get(), "fraABContacts")->isHidden());
}

} // namespace
