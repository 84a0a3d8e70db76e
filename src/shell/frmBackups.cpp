#include "shell/frmBackups.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/BackupGuard.h"
#include "controls/ReportList.h"
#include "platform/Application.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmBackups::frmBackups(Restorer restore, QWidget* parent)
    : QDialog(parent), restore_(std::move(restore)) {
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(QStringLiteral("Backups"));
    lvwBackups = new QTreeWidget(this);
    lvwBackups->setObjectName(QStringLiteral("lvwBackups"));
    lvwBackups->setRootIsDecorated(false);
    lvwBackups->setHeaderLabels({QStringLiteral("Date and Time"), QStringLiteral("Reason"),
                                 QStringLiteral("Size"), QStringLiteral("Journal Days"),
                                 QStringLiteral("Events"), QStringLiteral("Thought Nodes")});
    lvwBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdRestore = button("cmdRestore", "&Restore");
    cmdBackUpNow = button("cmdBackUpNow", "&Back Up Now");
    cmdOpenFolder = button("cmdOpenFolder", "&Open Folder");
    cmdClose = button("cmdClose", "&Close");
    connect(cmdRestore, &QPushButton::clicked, this, &frmBackups::cmdRestore_Click);
    connect(cmdBackUpNow, &QPushButton::clicked, this, &frmBackups::cmdBackUpNow_Click);
    connect(cmdOpenFolder, &QPushButton::clicked, this, &frmBackups::cmdOpenFolder_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    // Enter or a double click on a copy restores it, as the button does.
    ConnectOpen(lvwBackups, [this] { cmdRestore_Click(); });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdRestore, cmdBackUpNow, cmdOpenFolder})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lvwBackups, 1);
    column->addLayout(buttons);
    resize(720, 420);
    Fill();
}

void frmBackups::Fill() {
    lvwBackups->clear();
    entries_ = Backups::List();
    const QLocale c = QLocale::c();
    for (const Backups::Entry& e : std::as_const(entries_)) {
        QStringList row{Backups::When(e.made), Backups::Label(e.reason),
                        c.formattedDataSize(e.size, 1, QLocale::DataSizeSIFormat)};
        try {
            const Backups::Contents s = Backups::ContentsOf(e);
            row << QString::number(s.journalDays) << QString::number(s.events)
                << QString::number(s.thoughtNodes);
        } catch (const RuntimeError&) {
            // A copy that cannot be read says so in its row; Restore refuses it with the reason.
            row << QStringLiteral("unreadable") << QString() << QString();
        }
        auto* item = new QTreeWidgetItem(lvwBackups, row);
        for (int col = 2; col < row.size(); ++col)
            item->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (lvwBackups->topLevelItemCount() > 0)
        lvwBackups->setCurrentItem(lvwBackups->topLevelItem(0));
    cmdRestore->setEnabled(!entries_.isEmpty());
    lvwBackups->setFocus();
}

void frmBackups::cmdRestore_Click() {
    const int row = lvwBackups->indexOfTopLevelItem(lvwBackups->currentItem());
    if (row < 0 || row >= entries_.size())
        return;
    if (restore_(entries_.at(row)))
        accept();
    else
        Fill(); // the copy made before the restore, when one was
}

void frmBackups::cmdBackUpNow_Click() {
    if (BackUp(Backups::Reason::OnRequest, this))
        Fill();
}

void frmBackups::cmdOpenFolder_Click() {
    try {
        ShellOpen(Backups::EnsureFolder());
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while opening the backups folder!"),
                  QStringLiteral("Backup Error!"), e);
    }
}
