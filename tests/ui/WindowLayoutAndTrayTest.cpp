#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "calendar/CalendarPart.h"
#include "common/AppGlobals.h"
#include "data/modDB.h"
#include "platform/TrayIcon.h"
#include "thoughts/ThoughtsPart.h"
#include "ui/main/Tray.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/Twips.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

QString Geometry(const frmMain& w, const char* name) {
    const TwipsRect r = GeometryTwips(Named<QWidget>(&w, name));
    return QStringLiteral("%1,%2 %3x%4").arg(r.left).arg(r.top).arg(r.width).arg(r.height);
}

// Sizes the window from the outside, as the rules measure it.
void ResizeOuter(QWidget& w, int width, int height) {
    w.resize(QSize(width, height) - (w.frameGeometry().size() - w.size()));
}

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override { Exec(QStringLiteral("insert into pmpref (pwd) values ('')")); }
    AppFolder folder;
    ScopedPrompter prompter;
};

TEST_F(WindowLayout, AtTheReferenceSizeTheControlsHaveTheirDesignedSizes) {
    frmMain w;
    w.Load();
    ASSERT_EQ(w.frameGeometry().size(), QSize(1024, 768));
    EXPECT_EQ(Geometry(w, "lstbarMain"), QStringLiteral("60,120 1335x10320"));
    EXPECT_EQ(Geometry(w, "fraFunc(1)"), QStringLiteral("1440,0 13770x10410"));
    EXPECT_EQ(Geometry(w, "lblFunc(1)"), QStringLiteral("120,240 13515x555"));
    EXPECT_EQ(Geometry(w, "tabCalendar"), QStringLiteral("4680,960 8955x9315"));
    EXPECT_EQ(Geometry(w, "fraCalDiary"), QStringLiteral("120,360 8715x8835"));
    EXPECT_EQ(Geometry(w, "fraCalSearch"), QStringLiteral("120,360 8715x8835"));
    EXPECT_EQ(Geometry(w, "lvwCalSearch"), QStringLiteral("120,2520 8475x6195"));
    EXPECT_EQ(Geometry(w, "rtfCalQJournal"), QStringLiteral("120,240 8475x8475")) << "bar closed";
    w.findChild<CalendarPart*>()->ShowCalendarFind(true);
    EXPECT_EQ(Geometry(w, "rtfCalQJournal"), QStringLiteral("120,1260 8475x7455"));

    w.Action(QStringLiteral("mnuFunctionsThoughts"))->trigger();
    EXPECT_EQ(Geometry(w, "fraFunc(3)"), QStringLiteral("1440,0 13755x10395"));
    EXPECT_EQ(Geometry(w, "tvwThoughts"), QStringLiteral("120,960 3975x9315"));
    EXPECT_EQ(Geometry(w, "tabThoughts"), QStringLiteral("4140,960 9495x9315"));
    EXPECT_EQ(Geometry(w, "fraThoughts2"), QStringLiteral("120,360 9255x8835"));
    EXPECT_EQ(Geometry(w, "txtThoughtNodeLocation"), QStringLiteral("120,300 9015x255"));
    EXPECT_EQ(Geometry(w, "lvwThoSearch"), QStringLiteral("120,1620 9015x7095"));
    EXPECT_EQ(Geometry(w, "rtfThoughts"), QStringLiteral("120,660 9015x8055")) << "find closed";
    ThoughtsPart* thoughts = w.findChild<ThoughtsPart*>();
    thoughts->ShowThoughtsFind(true);
    EXPECT_EQ(Geometry(w, "rtfThoughts"), QStringLiteral("120,1680 9015x7035"));
    // Resizing with the frame open takes 120 more than opening it did.
    ResizeOuter(w, 800, 600);
    EXPECT_EQ(Geometry(w, "rtfThoughts"), QStringLiteral("120,1680 5655x4395"));
    thoughts->ShowThoughtsFind(false);
    thoughts->ShowThoughtsFind(true);
    EXPECT_EQ(Geometry(w, "rtfThoughts"), QStringLiteral("120,1680 5655x4515"));
    // Too low for the open frame: the note keeps its height.
    ResizeOuter(w, 800, 300);
    EXPECT_EQ(Geometry(w, "rtfThoughts"), QStringLiteral("120,1680 5655x4515"));
}

class Tray : public WindowLayout {
protected:
    void TearDown() override { TrayIcon::OverrideAvailable(std::nullopt); }
    void Load(const char* preference, bool trayAvailable = true) {
        TrayIcon::OverrideAvailable(trayAvailable);
        Exec(QStringLiteral("update pmpref set minimizetosystray = '%1'")
                 .arg(QString::fromLatin1(preference)));
        window = new frmMain; // deleted when it closes
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Load();
    }
    TrayIcon& Icon() { return window->Tray()->icon; }
    void Minimise() {
        window->showMinimized();
        QCoreApplication::processEvents();
    }
    frmMain* window = nullptr;
    WindowsGuard windows;
};

TEST_F(Tray, MinimisingHidesTheWindowBehindAnIconThatBringsItBack) {
    Load("Y");
    EXPECT_EQ(gTrayIcon.uID, 1u);
    EXPECT_EQ(gTrayIcon.cbSize, 88u);
    EXPECT_EQ(gTrayIcon.uCallbackMessage, 512u);
    EXPECT_EQ(gTrayIcon.szTip.size(), 64);
    Minimise();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(Icon().Shown());
    EXPECT_EQ(Icon().Tip(), QStringLiteral("Pimora"));

    emit Icon().mouseMessage(TrayIcon::WM_LBUTTONDBLCLK, QPoint());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(Icon().Shown()) << "a double-click removes the icon";

    Minimise();
    window->Action(QStringLiteral("mnuSystrayRestore"))->trigger();
    EXPECT_TRUE(window->isVisible() && window->isMaximized());
    EXPECT_TRUE(Icon().Shown()) << "Restore leaves the icon";
    emit Icon().mouseMessage(TrayIcon::WM_RBUTTONUP, QPoint(5, 5));
    EXPECT_TRUE(Named<QMenu>(window, "mnuSystray")->isVisible());
    Named<QMenu>(window, "mnuSystray")->hide();
}

TEST_F(Tray, ExitFromTheTrayMenuSavesAndClosesEverything) {
    Load("Y");
    Named<QPlainTextEdit>(window, "rtfCalQJournal")->insertPlainText(QStringLiteral("saved"));
    Minimise();
    window->Action(QStringLiteral("mnuSystrayExit"))->trigger();
    DeleteClosedWindows();
    EXPECT_FALSE(gConn);
    folder.Connect();
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 1);
}

TEST_F(Tray, WithoutThePreferenceOrANotificationAreaMinimisingIsOrdinary) {
    for (const auto& [preference, available] :
         {std::pair{"N", true}, std::pair{"y", true}, std::pair{"", true}, std::pair{"Y", false}}) {
        Load(preference, available);
        Minimise();
        EXPECT_TRUE(window->isVisible()) << preference << available;
        EXPECT_FALSE(Icon().Shown());
        CloseAllWindows();
        folder.Connect();
    }
}

} // namespace
