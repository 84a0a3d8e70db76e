#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "About Pimora": the program, its version and the version of the database it keeps.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDBVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
};
