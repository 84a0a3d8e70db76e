#include "support/Windows.h"

#include "common/AppGlobals.h"
#include "controls/TabStrip.h"
#include "security/Password.h"
#include "security/frmPreferences.h"

#include <QGroupBox>

namespace {

class Preferences : public WindowTest {
protected:
    void Start(const QString& pwd, const char* tray = "N") {
        Exec(QString("update pmpref set pwd = '%1', minimizetosystray = '%2'").arg(pwd, tray));
        Open();
    }
    // Opens the dialog, lets drive work it, and closes it if still open.
    void Dialog(const std::function<void(frmPreferences&)>& drive) {
        DialogDriver driver([&](QDialog& d) {
            auto& dialog = dynamic_cast<frmPreferences&>(d);
            drive(dialog);
            if (dialog.isVisible())
                Named<QPushButton>(&dialog, "cmdExit")->click();
            return dialog.result();
        });
        Menu("mnuPref");
        EXPECT_EQ(driver.Shown(), 1);
    }
    QString Stored() { return Rows("select pwd, minimizetosystray, enabletooltips from pmpref"); }
    void Stops(frmPreferences& dialog, const char* message) {
        prompter->Expect(message);
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_TRUE(dialog.isVisible()) << message;
    }
};

TEST_F(Preferences, ShowWhatTheTableHoldsAndSaveBothDisplayOptionsEveryTime) {
    Start("plain", "y");
    Dialog([&](frmPreferences& dialog) {
        EXPECT_TRUE(Named<QCheckBox>(&dialog, "chkEnablePwd")->isChecked());
        EXPECT_EQ(Named<QLineEdit>(&dialog, "txtPassword")->text(), "**********");
        EXPECT_EQ(Named<QLineEdit>(&dialog, "txtPassword")->echoMode(), QLineEdit::Password);
        EXPECT_FALSE(Named<QCheckBox>(&dialog, "chkMinToSystray")->isChecked()) << "\"y\" is off";
        EXPECT_TRUE(Named<QCheckBox>(&dialog, "chkEnableTooltips")->isChecked());
        Named<TabStrip>(&dialog, "tabPref")->setCurrentIndex(1);
        EXPECT_FALSE(Named<QGroupBox>(&dialog, "fraPrefDisplay")->isHidden());
        EXPECT_TRUE(Named<QGroupBox>(&dialog, "fraPrefSystem")->isHidden());
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(Stored(), "('plain','N','Y')") << "an untouched password stays";
    EXPECT_EQ(gMinimizeToSystray, "N");
}

TEST_F(Preferences, CloseAndStoppedSavesWriteNothing) {
    Start("plain");
    Dialog([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkMinToSystray")->setChecked(true);
        Named<QCheckBox>(&dialog, "chkEnableTooltips")->setChecked(false);
        Named<QPushButton>(&dialog, "cmdExit")->click();
    });
    Dialog([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkMinToSystray")->setChecked(true);
        const std::tuple<const char*, const char*, const char*> stops[] = {
            {"**********", "typed only here", "Please change the password first!"},
            {"one", "two", "The passwords do not match!  Please re-enter the passwords."},
            {"**********", "**********", "Please change the password first!"},
        };
        for (auto [first, second, message] : stops) {
            Named<QLineEdit>(&dialog, "txtPassword")->setText(first);
            Named<QLineEdit>(&dialog, "txtPassword2")->setText(second);
            Stops(dialog, message);
        }
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(false);
        EXPECT_TRUE(Named<QLineEdit>(&dialog, "txtPassword")->text().isEmpty())
            << "unticking clears the fields";
        EXPECT_FALSE(Named<QWidget>(&dialog, "fraPwd")->isEnabled());
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(true);
        Named<QLineEdit>(&dialog, "txtPassword")->setText("   ");
        Stops(dialog, "Please fill in the Password fields before saving!");
    });
    EXPECT_EQ(Stored(), "('plain','N','Y')");
    EXPECT_EQ(gMinimizeToSystray, "N");
}

TEST_F(Preferences, APasswordIsStoredAsTheHashOfItsTrimmedTextAndRemovedByUnticking) {
    Start("");
    Dialog([&](frmPreferences& dialog) {
        EXPECT_FALSE(Named<QWidget>(&dialog, "fraPwd")->isEnabled());
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(true);
        Named<QLineEdit>(&dialog, "txtPassword")->setText("  Open Sesame's  ");
        Named<QLineEdit>(&dialog, "txtPassword2")->setText("Open Sesame's");
        Named<QPushButton>(&dialog, "cmdSave")->click();
    });
    const QString stored = Scalar("select pwd from pmpref").toString();
    EXPECT_TRUE(IsPasswordHash(stored)) << stored.toStdString();
    EXPECT_FALSE(stored.contains("Sesame"));
    EXPECT_TRUE(PasswordMatches(stored, "Open Sesame's"));
    EXPECT_FALSE(PasswordMatches(stored, "  Open Sesame's  "));
    EXPECT_FALSE(PasswordMatches(stored, "open sesame's"));
    Dialog([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(false);
        Named<QPushButton>(&dialog, "cmdSave")->click();
    });
    EXPECT_EQ(Stored(), "('','N','Y')");
}

// A function shown before the save follows it at once; one first shown after it is built
// with what was saved.
TEST_F(Preferences, ToolTipsFollowTheSaveAtOnce) {
    Start("");
    Menu("mnuFunctionsThoughts");
    EXPECT_FALSE(C<QWidget>("tvwThoughts")->toolTip().isEmpty());
    Dialog([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkEnableTooltips")->setChecked(false);
        Named<QPushButton>(&dialog, "cmdSave")->click();
    });
    EXPECT_EQ(Stored(), "('','N','N')");
    Menu("mnuFunctionsAddBook");
    const char* controls[] = {"tvwThoughts", "lvwABContacts", "lvwABContactLists"};
    for (const char* name : controls)
        EXPECT_TRUE(C<QWidget>(name)->toolTip().isEmpty()) << name;
    Dialog([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkEnableTooltips")->setChecked(true);
        Named<QPushButton>(&dialog, "cmdSave")->click();
    });
    for (const char* name : controls)
        EXPECT_FALSE(C<QWidget>(name)->toolTip().isEmpty()) << name;
    EXPECT_EQ(Stored(), "('','N','Y')");
}

} // namespace
