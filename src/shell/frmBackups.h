#pragma once

#include "store/Backups.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTreeWidget;

// "Backups": every copy, newest first, with when and why it was made, its size and what it
// holds; Restore, Back Up Now and Open Folder.
class frmBackups : public QDialog {
    Q_OBJECT
public:
    // restore carries out the restore of a copy the user chose; true when it was restored.
    using Restorer = std::function<bool(const Backups::Entry&)>;
    frmBackups(Restorer restore, QWidget* parent = nullptr);

private:
    void Fill();
    void cmdRestore_Click();
    void cmdBackUpNow_Click();
    void cmdOpenFolder_Click();

    Restorer restore_;
    QList<Backups::Entry> entries_;
    QTreeWidget* lvwBackups = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdBackUpNow = nullptr;
    QPushButton* cmdOpenFolder = nullptr;
    QPushButton* cmdClose = nullptr;
};
