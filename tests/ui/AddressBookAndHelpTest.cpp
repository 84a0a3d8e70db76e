#include "support/AppFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "platform/Application.h"
#include "ui/main/AddressBookPart.h"
#include "ui/main/frmAbout.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/TabStrip.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class AddressBook : public ::testing::Test {
protected:
    void SetUp() override {
        Exec(QStringLiteral("insert into pmpref (pwd) values ('')"));
        window.Load();
        window.Action(QStringLiteral("mnuFunctionsAddBook"))->trigger();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        book = window.findChild<AddressBookPart*>();
    }
    bool Grey(QWidget* box) const {
        return box->palette().color(QPalette::Text) ==
               box->palette().color(QPalette::PlaceholderText);
    }
    // Focus into the box, then on to the list.
    void Visit(QWidget* box, const QString& typed = {}) {
        box->setFocus(Qt::TabFocusReason);
        if (!typed.isNull()) {
            if (auto* combo = qobject_cast<QComboBox*>(box))
                combo->setEditText(typed);
            else
                static_cast<QLineEdit*>(box)->setText(typed);
        }
        book->lvwABContacts->setFocus(Qt::TabFocusReason);
    }
    AppFolder folder;
    ScopedPrompter prompter;
    frmMain window;
    AddressBookPart* book = nullptr;
};

TEST_F(AddressBook, TheBoxesShowGreyPlaceholdersUntilTheUserTypes) {
    QComboBox* filter = book->cboABCategory;
    QLineEdit* find = book->txtABContactsQuickFind;
    EXPECT_EQ(filter->currentText(), QStringLiteral("<Quick Filter>"));
    EXPECT_EQ(find->text(), QStringLiteral("<Quick Find>"));
    EXPECT_TRUE(Grey(filter) && Grey(find) && Grey(book->cboABContactLists) &&
                Grey(book->txtABContactListsQuickFind));
    filter->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(filter->currentText().isEmpty());
    EXPECT_FALSE(Grey(filter));
    book->lvwABContacts->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(filter->currentText(), QStringLiteral("<Quick Filter>")) << "left untouched";
    EXPECT_TRUE(Grey(filter));
    Visit(filter, QStringLiteral("Family"));
    EXPECT_EQ(filter->currentText(), QStringLiteral("Family"));
    EXPECT_FALSE(Grey(filter));
    Visit(filter, QStringLiteral("   "));
    EXPECT_EQ(filter->currentText(), QStringLiteral("<Quick Filter>"));

    find->setText(QStringLiteral("<Quick Find> "));
    find->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(find->text(), QStringLiteral("<Quick Find> ")) << "the quick-find test is exact";
    Visit(find, QStringLiteral("    "));
    EXPECT_EQ(find->text(), QStringLiteral("<Quick Find>"));
    EXPECT_TRUE(Grey(find));
}

TEST_F(AddressBook, TabsListsAndMenusAreLaidOut) {
    EXPECT_FALSE(book->fraABContacts->isHidden());
    EXPECT_EQ(book->tabAddBookMain->currentIndex(), 0);
    EXPECT_EQ(book->lvwABContacts->headerItem()->text(0), QStringLiteral("Name"));
    EXPECT_EQ(book->lvwABContactLists->headerItem()->text(1), QStringLiteral("Group Category"));
    EXPECT_EQ(book->lvwABContacts->header()->sectionSize(0), 168);
    book->tabAddBookMain->setCurrentIndex(1);
    EXPECT_FALSE(book->fraABContactLists->isHidden());
    EXPECT_TRUE(book->fraABContacts->isHidden());
    QWidget* lists = book->lvwABContactLists->viewport();
    QTest::mouseClick(lists, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(book->mnuContactListMenu->isVisible());
    EXPECT_EQ(book->mnuContactListMenu->title(), QStringLiteral("ABContactListMenu"));
    book->mnuContactListMenu->hide();
    QTest::mouseClick(lists, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(book->mnuContactListMenu->isVisible());
}

class Help : public AddressBook {};

TEST_F(Help, TheHelpMessageTheReadMeAndTheAboutBox) {
    prompter->Expect(QStringLiteral("Uhm... what help? :)\r\nVisit https://pimora.example.org for "
                                    "information about Pimora, or e-mail your question to "
                                    "pimora.author@example.org."),
                     QStringLiteral("Pimora"), MsgIcon::Information, MsgButtons::OK);
    window.Action(QStringLiteral("mnuProgHelp"))->trigger();

    QStringList opened;
    const ShellOpener previous =
        InstallShellOpener([&](const QString& target) { return opened << target, true; });
    window.Action(QStringLiteral("mnuReadMe"))->trigger();
    EXPECT_TRUE(opened.isEmpty()) << "no read-me, nothing shown";
    QFile readMe(folder.File(QStringLiteral("readme.xml")));
    ASSERT_TRUE(readMe.open(QIODevice::WriteOnly));
    readMe.close();
    window.Action(QStringLiteral("mnuReadMe"))->trigger();
    EXPECT_EQ(opened, QStringList({folder.File(QStringLiteral("readme.xml"))}));
    InstallShellOpener(previous);

    DialogDriver driver([&](QDialog& d) {
        auto& about = dynamic_cast<frmAbout&>(d);
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Pimora"));
        EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Pimora - Personal Information Manager"));
        EXPECT_EQ(about.lblVersion->text(), QStringLiteral("0.9.7"));
        EXPECT_EQ(about.lblDBVersion->text(), QStringLiteral("0.9.7"));
        about.cmdOK->click();
        return about.result();
    });
    window.Action(QStringLiteral("mnuAbout"))->trigger();
    EXPECT_EQ(driver.Shown(), 1);
}

} // namespace
