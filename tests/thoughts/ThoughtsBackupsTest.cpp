// What a bulk removal takes is in a copy made just before it, and a restore brings it back
// into the window at once, keeping what was typed in the copy it makes first.
#include "ThoughtsFixture.h"

#include "data/modDB.h"
#include "store/Backups.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kClear = "This will erase all the data you have stored in Thoughts!  \r\nYou will "
                       "not be able to recover these data.  Are you absolutely \r\nsure you "
                       "want to do this?";
const QString kDependents = "There are child nodes dependent on this node.  Are you sure you "
                            "want to delete this node and all its dependents?";

QString Held(const Backups::Entry& e) {
    const Backups::Contents c = Backups::ContentsOf(e);
    return QString("%1 %2 %3 %4")
        .arg(Backups::Label(e.reason))
        .arg(c.journalDays)
        .arg(c.events)
        .arg(c.thoughtNodes);
}

class ThoughtsBackups : public Thoughts {
protected:
    void SetUp() override {
        Thoughts::SetUp();
        Row("a", "Alpha", "Thoughts", "kept note");
        Row("b", "Beta", "a");
        Open();
    }
};

TEST_F(ThoughtsBackups, ClearThoughtsIsUndoneByARestoreThatKeepsWhatWasTypedSinceInItsOwnCopy) {
    prompter->Expect(kClear, "Clear Thoughts?", MsgIcon::Critical, MsgButtons::YesNo,
                     MsgResult::Yes);
    prompter->Expect("The clearing is successfully completed.  Here's hoping you know what you're "
                     "doing...");
    Menu("mnuMaintClearThoughts");
    ASSERT_EQ(Count("select * from pmthoughts"), 0);
    ASSERT_EQ(Backups::List().size(), 1);
    EXPECT_EQ(Held(Backups::List().at(0)), "Before Clear Thoughts 0 0 2");

    // A journal typed afterwards, not saved yet when the restore is asked for.
    Menu("mnuFunctionsCalendar");
    auto* journal = C<QPlainTextEdit>("rtfCalQJournal");
    journal->setFocus();
    journal->insertPlainText("typed after the clearing");
    Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(9, 45, 0)));
    prompter->Expect("Replace everything in Pimora with the backup of 5 Dec 2026 09:30:00? What "
                     "Pimora holds now is kept as a backup first.",
                     "Pimora", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
    DialogDriver driver([&](QDialog& dialog) {
        auto* list = Named<QTreeWidget>(&dialog, "lvwBackups");
        EXPECT_EQ(dialog.windowTitle(), "Backups");
        EXPECT_EQ(list->topLevelItemCount(), 1);
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            row << list->topLevelItem(0)->text(c);
        row.removeAt(2); // the size, which SQLite decides
        EXPECT_EQ(row.join('|'), "5 Dec 2026 09:30:00|Before Clear Thoughts|0|0|2");
        Named<QPushButton>(&dialog, "cmdRestore")->click();
        return dialog.result();
    });
    Menu("mnuFileRestore");
    EXPECT_EQ(driver.Shown(), 1);
    EXPECT_TRUE(prompter->Done());
    EXPECT_EQ(Rows("select thoname, thodata from pmthoughts order by thoname"),
              "('a','kept note')('b','')");
    EXPECT_EQ(Count("select * from pmcalendar"), 0);
    EXPECT_EQ(journal->toPlainText(), "") << "the day as the copy holds it";
    const QList<Backups::Entry> copies = Backups::List();
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(Held(copies.at(0)), "Before restore 1 0 0");
    // The tree was built before the restore: it shows the restored nodes at once.
    Menu("mnuFunctionsThoughts");
    EXPECT_EQ(Children("Thoughts"), QStringList({"Alpha[3/4]"}));
}

TEST_F(ThoughtsBackups, ADeleteWithDependentsIsCopiedFirstAndAFailedCopyAsksBeforeRemoving) {
    Click("a");
    const QString db = folder.File("pengkalan.dat");
    {
        DiskFull full(16 * 1024);
        prompter->Expect(kDependents, "Delete Node?", MsgIcon::None, MsgButtons::YesNo,
                         MsgResult::Yes);
        prompter->ExpectError("Error while making a backup!", "Backup Error!",
                              "The backup '" + Backups::Folder() +
                                  "/pengkalan-20261205-093000-delete-node.dat' cannot be "
                                  "written: disk I/O error (File too large)");
        prompter->Expect("The backup could not be made. Remove the data anyway?", "Pimora",
                         MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        Menu("mnuNodeDelete");
    }
    EXPECT_EQ(Count("select * from pmthoughts"), 2);
    EXPECT_EQ(QDir(Backups::Folder()).entryList(QDir::Files | QDir::Hidden), QStringList())
        << "no half copy";
    prompter->Expect(kDependents, "Delete Node?", MsgIcon::None, MsgButtons::YesNo, MsgResult::Yes);
    prompter->Expect("Deleting Beta!");
    prompter->Expect("Done!");
    Menu("mnuNodeDelete");
    EXPECT_EQ(Count("select * from pmthoughts"), 0);
    ASSERT_EQ(Backups::List().size(), 1);
    EXPECT_EQ(Held(Backups::List().at(0)), "Before deleting a node 0 0 2");
}

// The copy made before an upgrade holds the old schema: restored, it is brought up to date.
TEST_F(ThoughtsBackups, ACopyFromBeforeAnUpgradeIsUpgradedWhenRestored) {
    Exec("update pmversion set dbver = '0.9.6'");
    Exec("alter table pmpref drop column EnableToolTips");
    Exec("alter table pmpref drop column MinimizeToSystray");
    const Backups::Entry old = Backups::Make(Backups::Reason::Upgrade);
    ASSERT_TRUE(CheckDBVersion());
    Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(9, 45, 0)));
    prompter->Expect("Replace everything in Pimora with the backup of 5 Dec 2026 09:30:00? What "
                     "Pimora holds now is kept as a backup first.",
                     "Pimora", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
    DialogDriver driver([&](QDialog& dialog) {
        Named<QPushButton>(&dialog, "cmdRestore")->click();
        return dialog.result();
    });
    Menu("mnuFileRestore");
    EXPECT_EQ(Rows("select dbver from pmversion"), "('0.9.7')");
    EXPECT_EQ(Rows("select minimizetosystray, enabletooltips from pmpref"), "('N','Y')");
    // Before restore, then the copy of the old schema made again before its upgrade.
    QStringList reasons;
    for (const Backups::Entry& e : Backups::List())
        reasons << Backups::Label(e.reason);
    EXPECT_EQ(reasons, QStringList({"Before upgrade", "Before restore", "Before upgrade"}));
    EXPECT_TRUE(QFileInfo::exists(old.path));
}

} // namespace
