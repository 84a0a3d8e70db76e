#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "common/AppGlobals.h"
#include "common/VbDate.h"
#include "data/modDB.h"
#include "thoughts/ThoughtsPart.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/ListBar.h"
#include "ui/widgets/TabStrip.h"

#include <QAction>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records what the window does, in order, and still does it.
class RecordingMain : public frmMain {
public:
    QStringList steps;
    int treeBuilds = 0;
    bool databaseOpenWhenSaving = false;

protected:
    bool CheckVersion() override {
        steps << "CheckDBVersion";
        return frmMain::CheckVersion();
    }
    void LoadPreferences() override {
        steps << "LoadPreferences";
        frmMain::LoadPreferences();
    }
    void SetupStatusBar() override {
        steps << "SetupStatusBar";
        frmMain::SetupStatusBar();
    }
    void BuildListBar() override {
        steps << "BuildListBar";
        frmMain::BuildListBar();
    }
    void BuildCalendarTab() override {
        steps << "BuildCalendarTab";
        frmMain::BuildCalendarTab();
    }
    void BuildThoughtsTab() override {
        steps << "BuildThoughtsTab";
        frmMain::BuildThoughtsTab();
    }
    void BuildAddBookTab() override {
        steps << "BuildAddBookTab";
        frmMain::BuildAddBookTab();
    }
    void Form_Resize() override {
        steps << "Form_Resize";
        frmMain::Form_Resize();
    }
    void RefreshThoughtsTree() override {
        ++treeBuilds;
        frmMain::RefreshThoughtsTree();
    }

public:
    void ProggyUnloadStuff() override {
        steps << "ProggyUnloadStuff";
        databaseOpenWhenSaving = gConn != nullptr;
        frmMain::ProggyUnloadStuff();
    }
};

bool MenuShown(QMenu* menu) {
    return menu->menuAction()->isVisible();
}

int VisibleFunction(const frmMain& w) {
    int visible = 0, which = -1;
    for (int i : {1, 3, 4})
        if (!w.fraFunc(i)->isHidden()) {
            ++visible;
            which = i;
        }
    return visible == 1 ? which : -visible;
}

void ClickItem(ListBar* bar, int row) {
    QListWidget* list = bar->Items();
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class MainWindow : public ::testing::Test {
protected:
    AppFolder folder;
    ScopedPrompter prompter;
};

TEST_F(MainWindow, LoadsInItsOrderOnTheCalendar) {
    RecordingMain w;
    gCurrentFunction = kFunctionThoughts;
    w.Load();
    EXPECT_EQ(w.steps, QStringList({"CheckDBVersion", "LoadPreferences", "SetupStatusBar",
                                    "BuildListBar", "BuildCalendarTab", "BuildThoughtsTab",
                                    "BuildAddBookTab", "Form_Resize"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Pimora - Personal Information Manager"));
    EXPECT_EQ(gCurrentFunction, kFunctionCalendar);
    EXPECT_EQ(VisibleFunction(w), 1);
    EXPECT_TRUE(MenuShown(w.mnuCal));
    EXPECT_FALSE(MenuShown(w.mnuThoughts));
    EXPECT_FALSE(MenuShown(w.mnuAddBook));
    EXPECT_EQ(w.treeBuilds, 0);
    EXPECT_EQ(w.sbMainDate->text(), VbFormat(QDate::currentDate(), QStringLiteral("d mmm yyyy")));
    EXPECT_EQ(w.lblFunc(1)->text(), QStringLiteral("Calendar"));
    EXPECT_EQ(w.lblFunc(3)->text(), QStringLiteral("Thoughts"));
    EXPECT_EQ(w.lblFunc(4)->text(), QStringLiteral("Address Book"));
    // Preferences reach the application-wide values.
    EXPECT_EQ(gShortDateFormat, QString());
    Exec(QStringLiteral("insert into pmpref (pwd) values ('')"));
    RecordingMain second;
    second.Load();
    EXPECT_EQ(gShortDateFormat, QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(gMinimizeToSystray, QStringLiteral("N"));
    EXPECT_EQ(gEnableToolTips, QStringLiteral("Y"));
}

TEST_F(MainWindow, ListBarAndTabStripsAreBuilt) {
    frmMain w;
    w.Load();
    ListBar* bar = w.findChild<ListBar*>(QStringLiteral("lstbarMain"));
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->ItemCount(), 2);
    EXPECT_EQ(bar->ItemCaption(0), QStringLiteral("Calendar"));
    EXPECT_EQ(bar->ItemKey(0), QStringLiteral("Item2"));
    EXPECT_EQ(bar->Items()->item(0)->toolTip(), QStringLiteral("Calendar Function"));
    EXPECT_EQ(bar->ItemCaption(1), QStringLiteral("Thoughts"));
    EXPECT_EQ(bar->ItemKey(1), QStringLiteral("Item5"));
    EXPECT_EQ(bar->Items()->item(1)->toolTip(), QStringLiteral("Thoughts Function"));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("Functions")));

    struct Strip {
        const char* name;
        QStringList captions, keys;
    };
    const Strip strips[] = {
        {"tabCalendar", {"Diary", "Search"}, {"Diary", "Search"}},
        {"tabSearchCalendar",
         {"Search Journal", "Search Events"},
         {"SearchJournal", "SearchEvents"}},
        {"tabThoughts", {"Thought", "Search"}, {"THOUGHT", "SEARCH"}},
        {"tabAddBookMain", {"People", "Groups"}, {"People", "Groups"}},
    };
    for (const Strip& s : strips) {
        auto* tabs = w.findChild<TabStrip*>(QString::fromLatin1(s.name));
        ASSERT_TRUE(tabs) << s.name;
        QStringList captions, keys;
        for (int i = 0; i < tabs->count(); ++i) {
            captions << tabs->tabText(i);
            keys << tabs->KeyAt(i);
        }
        EXPECT_EQ(captions, s.captions) << s.name;
        EXPECT_EQ(keys, s.keys) << s.name;
        EXPECT_EQ(tabs->currentIndex(), 0) << s.name;
    }
    // The frame in front is the one shown; the others of its strip are hidden.
    auto front = [&](const char* frame, const char* behind) {
        return !Named<QWidget>(&w, frame)->isHidden() && Named<QWidget>(&w, behind)->isHidden();
    };
    EXPECT_TRUE(front("fraCalDiary", "fraCalSearch"));
    EXPECT_TRUE(front("fraSearchJournal", "fraSearchEvents"));
    EXPECT_TRUE(front("fraThoughts2", "fraThoughtsSearch"));
    EXPECT_TRUE(front("fraABContacts", "fraABContactLists"));
    // Choosing a tab brings its frame to the front.
    Named<TabStrip>(&w, "tabCalendar")->SelectKey(QStringLiteral("Search"));
    EXPECT_TRUE(front("fraCalSearch", "fraCalDiary"));
}

TEST_F(MainWindow, SwitchingShowsTheFunctionsFrameAndMenuAndBuildsTheTreeOnce) {
    RecordingMain w;
    w.Load();
    ListBar* bar = w.lstbarMain;
    ClickItem(bar, 1);
    EXPECT_EQ(gCurrentFunction, kFunctionThoughts);
    EXPECT_EQ(VisibleFunction(w), 3);
    EXPECT_TRUE(MenuShown(w.mnuThoughts));
    EXPECT_FALSE(MenuShown(w.mnuCal));
    EXPECT_EQ(w.treeBuilds, 1);
    EXPECT_TRUE(w.findChild<ThoughtsPart*>()->bThoughtsLoaded);

    ClickItem(bar, 0);
    EXPECT_EQ(VisibleFunction(w), 1);
    EXPECT_TRUE(MenuShown(w.mnuCal));

    // The Functions menu, by its shortcuts.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(VisibleFunction(w), 3);
    EXPECT_EQ(w.treeBuilds, 1) << "the tree is built on the first switch only";
    QTest::keyClick(&w, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(gCurrentFunction, kFunctionAddressBook);
    EXPECT_EQ(VisibleFunction(w), 4);
    EXPECT_TRUE(MenuShown(w.mnuAddBook));
    EXPECT_FALSE(MenuShown(w.mnuCal));
    EXPECT_FALSE(MenuShown(w.mnuThoughts));
    QTest::keyClick(&w, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(VisibleFunction(w), 1);
    EXPECT_TRUE(MenuShown(w.mnuCal));

    // The list bar by keyboard: Enter and Space choose the current item.
    QListWidget* items = bar->Items();
    items->setFocus();
    items->setCurrentRow(1);
    QTest::keyClick(items, Qt::Key_Return);
    EXPECT_EQ(VisibleFunction(w), 3);
    items->setCurrentRow(0);
    QTest::keyClick(items, Qt::Key_Space);
    EXPECT_EQ(VisibleFunction(w), 1);
}

TEST_F(MainWindow, AFailedSchemaCheckSkipsTheSetUp) {
    Exec(QStringLiteral("update pmVersion set dbver = 'x'"));
    prompter->Expect(QStringLiteral("Database version has been corrupted!  Errors may occur when "
                                    "Pimora is in operation.  Backup your pengkalan.dat "
                                    "immediately!"),
                     QStringLiteral("Pimora Critical error!"), MsgIcon::Critical, MsgButtons::OK);
    RecordingMain w;
    w.Load();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.steps, QStringList({"CheckDBVersion"}));
    EXPECT_EQ(w.lstbarMain->ItemCount(), 0);
    EXPECT_EQ(Named<TabStrip>(&w, "tabCalendar")->count(), 0);
    EXPECT_TRUE(w.sbMainDate->text().isEmpty());
    EXPECT_EQ(VisibleFunction(w), 0);
    // Nothing may read or write a database that was refused.
    for (QAction* item : w.mnuCal->actions())
        EXPECT_FALSE(item->isEnabled() && !item->isSeparator() && !item->menu())
            << item->objectName().toStdString();
}

TEST_F(MainWindow, ClosingSavesThenClosesTheDatabase) {
    RecordingMain w;
    w.Load();
    w.steps.clear();
    w.Action(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.steps, QStringList({"ProggyUnloadStuff"}));
    EXPECT_TRUE(w.databaseOpenWhenSaving);
    EXPECT_FALSE(gConn);
}

} // namespace
