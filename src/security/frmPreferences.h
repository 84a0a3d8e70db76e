#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TabStrip;

// "Preferences": the password on the System page, the tray and the tool tips on the Display
// page. Save writes them (a password as its hash) and closes; Close writes nothing. The
// window that opened it applies the tool tips when it returns accepted.
class frmPreferences : public QDialog {
    Q_OBJECT
public:
    explicit frmPreferences(QWidget* parent = nullptr);

    void PopulatePref();
    void chkEnablePwd_Click();
    void EnableEncryptDB();
    void cmdSave_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool bPasswordDirty = false;
    bool bEncrypted = false; // as the database was when the dialog opened
    TabStrip* tabPref = nullptr;
    QGroupBox* fraPrefSystem = nullptr;
    QGroupBox* fraPrefDisplay = nullptr;
    QCheckBox* chkEnablePwd = nullptr;
    QWidget* fraPwd = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtPassword2 = nullptr;
    QCheckBox* chkEncryptDB = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkMinToSystray = nullptr;
    QCheckBox* chkEnableTooltips = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdExit = nullptr;

    void ColourPasswordFields(bool enabled);
    // The password part of Save; false when a message stopped the save.
    bool CheckPassword();
    void SavePassword();
    // Encrypts, decrypts or re-encrypts the file as the boxes say; false when the user
    // stopped the save.
    bool SaveEncryption();
};
