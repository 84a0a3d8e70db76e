#include "support/Windows.h"

#include "addressbook/AddressBookPart.h"
#include "calendar/CalendarPart.h"
#include "common/AppGlobals.h"
#include "common/VbDate.h"
#include "controls/ListBar.h"
#include "controls/TabStrip.h"
#include "controls/Twips.h"
#include "platform/Application.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"
#include "shell/MainTray.h"
#include "shell/frmAbout.h"
#include "thoughts/ThoughtsPart.h"

#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

// Records the steps of the load, in order, and still takes them.
class RecordingMain : public frmMain {
public:
    QStringList steps;
    int treeBuilds = 0;

protected:
#define RECORD(step)                                                                               \
    void step() override {                                                                         \
        steps << #step;                                                                            \
        frmMain::step();                                                                           \
    }
    RECORD(LoadPreferences)
    RECORD(SetupStatusBar)
    RECORD(BuildListBar)
    RECORD(BuildCalendarTab)
    RECORD(BuildThoughtsTab)
    RECORD(BuildAddBookTab)
    RECORD(Form_Resize)
#undef RECORD
    bool CheckVersion() override {
        steps << "CheckVersion";
        return frmMain::CheckVersion();
    }
    void RefreshThoughtsTree() override {
        ++treeBuilds;
        frmMain::RefreshThoughtsTree();
    }
};

// The one function frame shown, or minus the number shown.
int VisibleFunction(const frmMain& w) {
    int visible = 0, which = -1;
    for (int i : {1, 3, 4})
        if (!Named<QFrame>(&w, QString("fraFunc(%1)").arg(i))->isHidden()) {
            ++visible;
            which = i;
        }
    return visible == 1 ? which : -visible;
}

// Which of the Calendar, Thoughts and Address Book menus the menu bar shows: "100" etc.
QString FunctionMenus(const frmMain& w) {
    QString out;
    for (QMenu* m : {Named<QMenu>(&w, "mnuCal"), Named<QMenu>(&w, "mnuThoughts"),
                     Named<QMenu>(&w, "mnuAddBook")})
        out += m->menuAction()->isVisible() ? '1' : '0';
    return out;
}

class MainWindow : public WindowTest {};

TEST_F(MainWindow, LoadsInItsOrderOnTheCalendarAndExitClosesTheDatabase) {
    RecordingMain w;
    gCurrentFunction = kFunctionThoughts;
    w.Load();
    EXPECT_EQ(w.steps, QStringList({"CheckVersion", "LoadPreferences", "SetupStatusBar",
                                    "BuildListBar", "BuildCalendarTab", "BuildThoughtsTab",
                                    "BuildAddBookTab", "Form_Resize"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(gCurrentFunction, kFunctionCalendar);
    EXPECT_EQ(VisibleFunction(w), 1);
    EXPECT_EQ(FunctionMenus(w), "100");
    EXPECT_EQ(w.treeBuilds, 0);
    EXPECT_EQ(Named<QLabel>(&w, "sbMain.Panel(1)")->text(),
              VbFormat(QDate::currentDate(), "d mmm yyyy"));
    // Preferences reach the application-wide values.
    EXPECT_EQ(gShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(gMinimizeToSystray, "N");
    EXPECT_EQ(gEnableToolTips, "Y");
    // Exit saves what is pending before the database closes (as the calendar's test shows).
    ActionOf(&w, "mnuFileExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(gConn);
}

TEST_F(MainWindow, SwitchingShowsTheFunctionsFrameAndMenuAndBuildsTheTreeOnce) {
    RecordingMain w;
    w.Load();
    QListWidget* items = Named<ListBar>(&w, "lstbarMain")->Items();
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
                      items->visualItemRect(items->item(1)).center());
    EXPECT_EQ(gCurrentFunction, kFunctionThoughts);
    EXPECT_EQ(VisibleFunction(w), 3);
    EXPECT_EQ(FunctionMenus(w), "010");
    EXPECT_EQ(w.treeBuilds, 1);
    EXPECT_TRUE(w.findChild<ThoughtsPart*>()->ThoughtsLoaded());

    // The Functions menu by its shortcuts, then the list bar by Enter and Space.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_F1, 1}, {Qt::Key_F2, 3}, {Qt::Key_F3, 4}, {Qt::Key_F1, 1}};
    for (auto [key, function] : keys) {
        QTest::keyClick(&w, key, Qt::ControlModifier);
        EXPECT_EQ(VisibleFunction(w), function);
    }
    EXPECT_EQ(gCurrentFunction, kFunctionCalendar);
    QTest::keyClick(&w, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(gCurrentFunction, kFunctionAddressBook);
    EXPECT_EQ(FunctionMenus(w), "001");
    EXPECT_EQ(w.treeBuilds, 1) << "the tree is built on the first switch only";
    items->setFocus();
    const std::tuple<int, Qt::Key, int> enter[] = {{1, Qt::Key_Return, 3}, {0, Qt::Key_Space, 1}};
    for (auto [row, key, function] : enter) {
        items->setCurrentRow(row);
        QTest::keyClick(items, key);
        EXPECT_EQ(VisibleFunction(w), function);
    }
    EXPECT_EQ(FunctionMenus(w), "100");
}

// The first window builds what it shows. The other functions are built when first used, and
// their menus work before that, with the enabled states the load gave them.
TEST_F(MainWindow, TheOtherFunctionsAreBuiltOnFirstUseAndTheirMenusWorkBefore) {
    Exec("insert into pmthoughts (thoname, thocaption, thoparent, thodata) values "
         "('a', 'Alpha', 'Thoughts', 'note a')");
    Open();
    frmMain& w = *window;
    EXPECT_FALSE(w.findChild<QWidget*>("tvwThoughts"));
    EXPECT_FALSE(w.findChild<QWidget*>("lvwABContacts"));
    for (const char* item : {"mnuRefreshThoughts", "mnuThoCountNodes", "mnuMaintClearThoughts"})
        EXPECT_TRUE(ActionOf(&w, item)->isEnabled()) << item;
    EXPECT_TRUE(ActionOf(&w, "mnuAddBookMaintCat"));
    Menu("mnuRefreshThoughts"); // from the calendar, as automation may
    EXPECT_EQ(VisibleFunction(w), 1);
    Menu("mnuFunctionsThoughts");
    auto* tree = C<QTreeWidget>("tvwThoughts");
    EXPECT_TRUE(tree->isVisible());
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), "Alpha");
    auto tabs = [&](const char* name) {
        auto* strip = C<TabStrip>(name);
        QStringList out;
        for (int i = 0; i < strip->count(); ++i)
            out << strip->tabText(i);
        return out.join(',') + '@' + QString::number(strip->currentIndex());
    };
    EXPECT_EQ(tabs("tabThoughts"), "Thought,Search@0");
    Menu("mnuFunctionsAddBook");
    EXPECT_TRUE(C<QWidget>("lvwABContacts")->isVisible());
    EXPECT_EQ(tabs("tabAddBookMain"), "People,Groups@0");
}

TEST_F(MainWindow, AFailedSchemaCheckSkipsTheSetUpAndLeavesNothingToTouchTheDatabase) {
    Exec("update pmVersion set dbver = 'x'");
    prompter->Expect("Database version has been corrupted!  Errors may occur when Pimora is in "
                     "operation.  Backup your pengkalan.dat immediately!",
                     "Pimora Critical error!", MsgIcon::Critical);
    RecordingMain w;
    w.Load();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.steps, QStringList({"CheckVersion"}));
    EXPECT_EQ(Named<ListBar>(&w, "lstbarMain")->ItemCount(), 0);
    EXPECT_EQ(Named<TabStrip>(&w, "tabCalendar")->count(), 0);
    EXPECT_TRUE(Named<QLabel>(&w, "sbMain.Panel(1)")->text().isEmpty());
    EXPECT_EQ(VisibleFunction(w), 0);
    for (QAction* item : Named<QMenu>(&w, "mnuCal")->actions())
        EXPECT_FALSE(item->isEnabled() && !item->isSeparator() && !item->menu())
            << item->objectName().toStdString();
}

class WindowLayout : public WindowTest {};

TEST_F(WindowLayout, AtTheReferenceSizeTheControlsHaveTheirDesignedSizes) {
    Open();
    frmMain& w = *window;
    ASSERT_EQ(w.frameGeometry().size(), QSize(1024, 768));
    auto geometry = [&](const char* name) {
        const TwipsRect r = GeometryTwips(Named<QWidget>(&w, name));
        return QString("%1,%2 %3x%4").arg(r.left).arg(r.top).arg(r.width).arg(r.height);
    };
    auto expectAll = [&](std::initializer_list<std::pair<const char*, const char*>> controls) {
        for (auto [name, expected] : controls)
            EXPECT_EQ(geometry(name), expected) << name;
    };
    expectAll({{"lstbarMain", "60,120 1335x10320"},
               {"fraFunc(1)", "1440,0 13770x10410"},
               {"lblFunc(1)", "120,240 13515x555"},
               {"tabCalendar", "4680,960 8955x9315"},
               {"fraCalSearch", "120,360 8715x8835"},
               {"lvwCalSearch", "120,2520 8475x6195"},
               {"rtfCalQJournal", "120,240 8475x8475"}}); // the find bar closed
    w.findChild<CalendarPart*>()->ShowCalendarFind(true);
    expectAll({{"rtfCalQJournal", "120,1260 8475x7455"}});

    ActionOf(&w, "mnuFunctionsThoughts")->trigger();
    expectAll({{"fraFunc(3)", "1440,0 13755x10395"},
               {"tvwThoughts", "120,960 3975x9315"},
               {"tabThoughts", "4140,960 9495x9315"},
               {"fraThoughts2", "120,360 9255x8835"},
               {"txtThoughtNodeLocation", "120,300 9015x255"},
               {"lvwThoSearch", "120,1620 9015x7095"},
               {"rtfThoughts", "120,660 9015x8055"}}); // the find frame closed
    ThoughtsPart* thoughts = w.findChild<ThoughtsPart*>();
    thoughts->ShowThoughtsFind(true);
    expectAll({{"rtfThoughts", "120,1680 9015x7035"}});
    // Resizing with the frame open takes 120 more than opening it did; too low for the open
    // frame, the note keeps its height.
    auto resizeOuter = [&](int width, int height) {
        w.resize(QSize(width, height) - (w.frameGeometry().size() - w.size()));
    };
    resizeOuter(800, 600);
    expectAll({{"rtfThoughts", "120,1680 5655x4395"}});
    thoughts->ShowThoughtsFind(false);
    thoughts->ShowThoughtsFind(true);
    expectAll({{"rtfThoughts", "120,1680 5655x4515"}});
    resizeOuter(800, 300);
    expectAll({{"rtfThoughts", "120,1680 5655x4515"}});
}

// Every list keeps the column widths it was designed with, whatever the window's size: no
// last column stretches to show what was meant to be hidden.
TEST_F(WindowLayout, ListsKeepTheirDesignedColumnsInABigWindow) {
    Open();
    window->resize(1600, 1200);
    QCoreApplication::processEvents();
    auto widths = [&](const char* name) {
        QStringList out;
        QHeaderView* header = Named<QTreeWidget>(window.get(), name)->header();
        for (int i = 0; i < header->count(); ++i)
            if (!header->isSectionHidden(i))
                out << QString::number(header->sectionSize(i));
        return out.join(',');
    };
    // In twips: 1700 and 2430; 1000 and 7455.119, or 1000, 2000 and 5460.095.
    EXPECT_EQ(widths("lvwDayEvents"), "113,162");
    EXPECT_EQ(widths("lvwCalSearch"), "66,497");
    auto* search = Named<QLineEdit>(window.get(), "txtCalEventsSearch");
    search->setText("nothing");
    prompter->Expect("Nothing found!");
    Named<QPushButton>(window.get(), "cmdCalEventsSearch")->click();
    EXPECT_EQ(widths("lvwCalSearch"), "66,133,364");
    Menu("mnuFunctionsThoughts");
    EXPECT_EQ(widths("lvwThoSearch"), "200,380,1") << "the key stays out of sight";
    Menu("mnuFunctionsAddBook");
    EXPECT_EQ(widths("lvwABContacts"), "168,96");
    EXPECT_EQ(widths("lvwABContactLists"), "168,96");
    // The find frames carry their captions as frames do.
    EXPECT_EQ(Named<QGroupBox>(window.get(), "fraCalFindToday")->title(), "Find in Calendar");
    EXPECT_EQ(Named<QGroupBox>(window.get(), "fraThoFindThisNode")->title(), "Find in Thought");
}

class Tray : public WindowLayout {
protected:
    void TearDown() override { TrayIcon::OverrideAvailable(std::nullopt); }
    void Load(const char* preference, bool trayAvailable = true) {
        TrayIcon::OverrideAvailable(trayAvailable);
        Exec(QString("update pmpref set minimizetosystray = '%1'").arg(preference));
        window = new frmMain; // deleted when it closes
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Load();
    }
    TrayIcon& Icon() { return *window->findChild<TrayIcon*>(); }
    // What the desktop's tray reports, as it reports it.
    void Activate(QSystemTrayIcon::ActivationReason why) {
        auto* icon = window->findChild<QSystemTrayIcon*>("gTrayIcon");
        ASSERT_TRUE(icon);
        emit icon->activated(why);
    }
    void Minimise() {
        window->showMinimized();
        QCoreApplication::processEvents();
    }
    frmMain* window = nullptr;
    WindowsGuard windows;
};

TEST_F(Tray, MinimisingHidesTheWindowBehindAnIconThatBringsItBackOrExits) {
    Load("Y");
    Minimise();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(Icon().Shown());
    EXPECT_EQ(Icon().Tip(), "Pimora");
    // A double-click, or a click where the tray reports no double-click, brings it back.
    for (auto why : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Trigger}) {
        Activate(why);
        EXPECT_TRUE(window->isVisible() && window->isMaximized()) << why;
        EXPECT_FALSE(Icon().Shown()) << "a double-click removes the icon";
        Minimise();
        EXPECT_FALSE(window->isVisible());
    }
    ActionOf(window, "mnuSystrayRestore")->trigger();
    EXPECT_TRUE(window->isVisible() && window->isMaximized());
    EXPECT_TRUE(Icon().Shown()) << "Restore leaves the icon";
    Activate(QSystemTrayIcon::Context);
    EXPECT_TRUE(Named<QMenu>(window, "mnuSystray")->isVisible());
    Named<QMenu>(window, "mnuSystray")->hide();
    // Starting Pimora again while it sits in the tray brings it back too.
    Minimise();
    emit SingleInstance::Instance().activateRequested("Pimora");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(Icon().Shown());

    // Exit from the tray's menu saves the pending work and closes everything.
    Named<QPlainTextEdit>(window, "rtfCalQJournal")->insertPlainText("saved");
    Minimise();
    ActionOf(window, "mnuSystrayExit")->trigger();
    DeleteClosedWindows();
    EXPECT_FALSE(gConn);
    folder.Connect();
    EXPECT_EQ(Rows("select caljournal from pmcalendar"), "('saved')");
}

TEST_F(Tray, WithoutThePreferenceOrANotificationAreaMinimisingIsOrdinary) {
    const std::pair<const char*, bool> cases[] = {
        {"N", true}, {"y", true}, {"", true}, {"Y", false}};
    for (auto [preference, available] : cases) {
        Load(preference, available);
        Minimise();
        EXPECT_TRUE(window->isVisible()) << preference << available;
        EXPECT_FALSE(Icon().Shown());
        CloseAllWindows();
        folder.Connect();
    }
}

TEST_F(MainWindow, TheHelpMessageTheReadMeAndTheAboutBox) {
    Open();
    prompter->Expect("Uhm... what help? :)\r\nVisit https://pimora.example.org for information "
                     "about Pimora, or e-mail your question to pimora.author@example.org.",
                     "Pimora", MsgIcon::Information);
    ActionOf(window, "mnuProgHelp")->trigger();

    QStringList opened;
    const ShellOpener previous =
        InstallShellOpener([&](const QString& target) { return opened << target, true; });
    ActionOf(window, "mnuReadMe")->trigger();
    EXPECT_TRUE(opened.isEmpty()) << "no read-me, nothing shown";
    QFile(folder.File("readme.xml")).open(QIODevice::WriteOnly);
    ActionOf(window, "mnuReadMe")->trigger();
    EXPECT_EQ(opened, QStringList({folder.File("readme.xml")}));
    InstallShellOpener(previous);

    DialogDriver driver([&](QDialog& d) {
        auto& about = dynamic_cast<frmAbout&>(d);
        EXPECT_EQ(Named<QLabel>(&about, "lblTitle")->text(),
                  "Pimora - Personal Information Manager");
        EXPECT_EQ(Named<QLabel>(&about, "lblVersion")->text(), "0.9.7");
        EXPECT_EQ(Named<QLabel>(&about, "lblDBVersion")->text(), "0.9.7");
        Named<QPushButton>(&about, "cmdOK")->click();
        return about.result();
    });
    ActionOf(window, "mnuAbout")->trigger();
    EXPECT_EQ(driver.Shown(), 1);
}

} // namespace
