#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QTreeWidget;

// "Browse Events": picks an event type for the day's event editor. The choice is only
// handed back; nothing is written.
class frmEventsBrowse : public QDialog {
    Q_OBJECT
public:
    explicit frmEventsBrowse(QWidget* parent = nullptr);

    void cmdSelect_Click();
    // The type chosen by Select or a double-click; empty when the browser was cancelled.
    QString Chosen() const { return chosen_; }

private:
    QGroupBox* Frame1 = nullptr;
    QTreeWidget* lvwEvents = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdCancel = nullptr;

    QString chosen_;
};
