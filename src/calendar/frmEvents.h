#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "Event Maintenance": the event types, an editor to add one or change its description, and
// Delete, refused while a day uses the type. It owns the table pmCalEvent.
class frmEvents : public QDialog {
    Q_OBJECT
public:
    explicit frmEvents(QWidget* parent = nullptr);

    void cmdEventSave_Click();
    void cmdEventDel_Click();
    void lvwEvents_Click();
    void lvwEvents_ColumnClick(int column);

signals:
    // A type was saved: lists of types elsewhere are out of date.
    void eventTypesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* lvwEvents = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtEvent = nullptr;
    QLineEdit* txtDesc = nullptr;
    QPushButton* cmdEventSave = nullptr;
    QPushButton* cmdEventDel = nullptr;
    QPushButton* Command3 = nullptr;

    bool descending_ = true; // so the first header click sorts ascending
};
