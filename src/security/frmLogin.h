#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the password before the main window opens. It does not open the main window
// itself: it says that the login succeeded, just before it closes. For an encrypted database
// each answer is tried as its key, before anything of it is read.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    enum class Checks { StoredPassword, DatabaseKey };
    explicit frmLogin(Checks checks = Checks::StoredPassword);

    void cmdOK_Click();
    void cmdExit_Click();

signals:
    void loginSucceeded();

protected:
    void StoreHash(const QString& password);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Answer { Opens, Wrong, NoPassword };
    Answer Check(const QString& typed);
    Checks checks_ = Checks::StoredPassword;
    short iTries = 0;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* Picture1 = nullptr;
};

// Shows the login dialog modeless; it is deleted when it closes.
frmLogin* ShowLoginWindow(frmLogin::Checks checks = frmLogin::Checks::StoredPassword);
