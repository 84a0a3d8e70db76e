#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "common/AppGlobals.h"
#include "data/modDB.h"
#include "security/Password.h"
#include "security/frmPreferences.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/TabStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class Preferences : public ::testing::Test {
protected:
    void Start(const QString& pwd, const char* tray = "N", const char* tips = "Y") {
        Exec(QStringLiteral("insert into pmpref (pwd, minimizetosystray, enabletooltips) values "
                            "('%1', '%2', '%3')")
                 .arg(pwd, QString::fromLatin1(tray), QString::fromLatin1(tips)));
        window = std::make_unique<frmMain>();
        window->Load();
    }
    // Opens the dialog, lets drive work it, and returns how it ended.
    int Open(const std::function<void(frmPreferences&)>& drive) {
        int result = -1;
        DialogDriver driver([&](QDialog& d) {
            auto& dialog = dynamic_cast<frmPreferences&>(d);
            drive(dialog);
            if (dialog.isVisible())
                dialog.cmdExit->click();
            result = dialog.result();
            return result;
        });
        window->Action(QStringLiteral("mnuPref"))->trigger();
        return result;
    }
    QString Stored(const char* column) {
        return Scalar(QStringLiteral("select %1 from pmpref").arg(QString::fromLatin1(column)))
            .toString();
    }
    void Stops(frmPreferences& dialog, const char* message) {
        prompter->Expect(QString::fromLatin1(message), QStringLiteral("Pimora"), MsgIcon::None,
                         MsgButtons::OK);
        dialog.cmdSave->click();
        EXPECT_TRUE(dialog.isVisible()) << message;
    }

    AppFolder folder;
    ScopedPrompter prompter;
    std::unique_ptr<frmMain> window;
};

TEST_F(Preferences, ShowWhatTheTableHoldsAndSaveBothDisplayOptionsEveryTime) {
    Start(QStringLiteral("plain"), "y", "Y");
    const int result = Open([&](frmPreferences& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Preferences"));
        EXPECT_EQ(dialog.tabPref->tabText(0), QStringLiteral("System"));
        EXPECT_FALSE(dialog.fraPrefSystem->isHidden());
        EXPECT_TRUE(dialog.chkEnablePwd->isChecked());
        EXPECT_EQ(dialog.txtPassword->text(), QStringLiteral("**********"));
        EXPECT_EQ(dialog.txtPassword->echoMode(), QLineEdit::Password);
        EXPECT_FALSE(dialog.bPasswordDirty) << "filling is not the user's change";
        EXPECT_FALSE(dialog.chkMinToSystray->isChecked()) << "\"y\" is off";
        EXPECT_TRUE(dialog.chkEnableTooltips->isChecked());
        dialog.tabPref->setCurrentIndex(1);
        EXPECT_FALSE(dialog.fraPrefDisplay->isHidden());
        EXPECT_TRUE(dialog.fraPrefSystem->isHidden());
        dialog.cmdSave->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(Stored("pwd"), QStringLiteral("plain")) << "an untouched password stays";
    EXPECT_EQ(Stored("minimizetosystray"), QStringLiteral("N"));
    EXPECT_EQ(Stored("enabletooltips"), QStringLiteral("Y"));
    EXPECT_EQ(gMinimizeToSystray, QStringLiteral("N"));
}

TEST_F(Preferences, CloseAndStoppedSavesWriteNothing) {
    Start(QStringLiteral("plain"));
    Open([&](frmPreferences& dialog) {
        dialog.chkMinToSystray->setChecked(true);
        dialog.chkEnableTooltips->setChecked(false);
        dialog.cmdExit->click();
    });
    Open([&](frmPreferences& dialog) {
        dialog.chkMinToSystray->setChecked(true);
        dialog.txtPassword2->setText(QStringLiteral("typed only here"));
        Stops(dialog, "Please change the password first!");
        dialog.txtPassword->setText(QStringLiteral("one"));
        dialog.txtPassword2->setText(QStringLiteral("two"));
        Stops(dialog, "The passwords do not match!  Please re-enter the passwords.");
        dialog.txtPassword->setText(QStringLiteral("**********"));
        dialog.txtPassword2->setText(QStringLiteral("**********"));
        Stops(dialog, "Please change the password first!");
        dialog.chkEnablePwd->setChecked(false);
        EXPECT_TRUE(dialog.txtPassword->text().isEmpty()) << "unticking clears the fields";
        EXPECT_FALSE(dialog.fraPwd->isEnabled());
        dialog.chkEnablePwd->setChecked(true);
        dialog.txtPassword->setText(QStringLiteral("   "));
        Stops(dialog, "Please fill in the Password fields before saving!");
    });
    EXPECT_EQ(Rows(QStringLiteral("select pwd, minimizetosystray, enabletooltips from pmpref")),
              QStringLiteral("('plain','N','Y')"));
    EXPECT_EQ(gMinimizeToSystray, QStringLiteral("N"));
}

TEST_F(Preferences, APasswordIsStoredAsTheHashOfItsTrimmedTextAndRemovedByUnticking) {
    Start(QString());
    Open([&](frmPreferences& dialog) {
        EXPECT_FALSE(dialog.fraPwd->isEnabled());
        dialog.chkEnablePwd->setChecked(true);
        EXPECT_TRUE(dialog.fraPwd->isEnabled());
        dialog.txtPassword->setText(QStringLiteral("  Open Sesame's  "));
        dialog.txtPassword2->setText(QStringLiteral("Open Sesame's"));
        dialog.cmdSave->click();
    });
    const QString stored = Stored("pwd");
    EXPECT_TRUE(IsPasswordHash(stored)) << stored.toStdString();
    EXPECT_FALSE(stored.contains(QStringLiteral("Sesame")));
    EXPECT_TRUE(PasswordMatches(stored, QStringLiteral("Open Sesame's")));
    EXPECT_FALSE(PasswordMatches(stored, QStringLiteral("  Open Sesame's  ")));
    EXPECT_FALSE(PasswordMatches(stored, QStringLiteral("open sesame's")));

    Open([&](frmPreferences& dialog) {
        dialog.chkEnablePwd->setChecked(false);
        dialog.cmdSave->click();
    });
    EXPECT_EQ(Stored("pwd"), QString());
}

TEST_F(Preferences, ToolTipsFollowTheSaveAtOnce) {
    Start(QString());
    auto* tree = Named<QWidget>(window.get(), "tvwThoughts");
    auto* contacts = Named<QWidget>(window.get(), "lvwABContacts");
    EXPECT_EQ(tree->toolTip(), QStringLiteral("Right-click for Node commands"));
    EXPECT_EQ(contacts->toolTip(), QStringLiteral("Right-click for Contact commands"));
    Open([&](frmPreferences& dialog) {
        dialog.chkEnableTooltips->setChecked(false);
        dialog.cmdSave->click();
    });
    EXPECT_TRUE(tree->toolTip().isEmpty());
    EXPECT_TRUE(Named<QWidget>(window.get(), "lvwABContactLists")->toolTip().isEmpty());
    EXPECT_EQ(Stored("enabletooltips"), QStringLiteral("N"));
}

} // namespace
