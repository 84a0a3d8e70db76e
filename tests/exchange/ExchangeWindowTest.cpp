// The File menu's Export... and Import... as a user works them: what is typed goes out with
// the rest, and an import shows what it will do, backs up, then writes.
#include "support/Windows.h"

#include "platform/Clock.h"
#include "store/Backups.h"

#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

namespace {

class ExchangeWindow : public WindowTest {};

TEST_F(ExchangeWindow, ExportTakesWhatIsTypedAndImportPreviewsBacksUpAndWrites) {
    Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(9, 30, 0)));
    Open();
    QStringList items;
    for (QAction* a : Named<QMenu>(window.get(), "mnuFile")->actions())
        items << (a->isSeparator() ? QString("-") : a->objectName());
    EXPECT_EQ(items, QStringList(
                         {"mnuFileRestore", "mnuFileExport", "mnuFileImport", "-", "mnuFileExit"}));

    auto* journal = C<QPlainTextEdit>("rtfCalQJournal");
    journal->setFocus();
    journal->insertPlainText("typed, not saved yet");
    QTemporaryDir out;
    const QString ics = out.filePath("week");
    QByteArray incoming = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
                          "BEGIN:VJOURNAL\r\nUID:j@t\r\nDTSTART;VALUE=DATE:20261206\r\n"
                          "DESCRIPTION:From elsewhere\r\nEND:VJOURNAL\r\n"
                          "BEGIN:VEVENT\r\nUID:e@t\r\nDTSTART:20261206T080000\r\n"
                          "DTEND:20261206T083000\r\nSUMMARY:Run\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    QFile in(out.filePath("in.ics"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(incoming);
    in.close();

    DialogDriver driver([&](QDialog& dialog) {
        if (dialog.objectName() == "frmExport") {
            EXPECT_EQ(dialog.windowTitle(), "Export");
            Named<QRadioButton>(&dialog, "optCalendar")->click();
            Named<QLineEdit>(&dialog, "txtPath")->setText(ics);
        } else {
            EXPECT_EQ(dialog.windowTitle(), "Import");
            Named<QLineEdit>(&dialog, "txtPath")->setText(in.fileName());
        }
        Named<QPushButton>(&dialog, "cmdGo")->click();
        return dialog.result();
    });
    Menu("mnuFileExport");
    QFile written(ics + ".ics");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the suffix is added";
    EXPECT_TRUE(written.readAll().contains("DESCRIPTION:typed\\, not saved yet"));

    prompter->Expect("1 journal days new, 0 days that already hold a journal (the imported text "
                     "is appended after a blank line), 1 events new, 0 events that already exist "
                     "(skipped), 1 event types to create, 0 notes under the node Thoughts.\r\n\r\n"
                     "Import now? A backup is made first.",
                     "Import", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
    Menu("mnuFileImport");
    EXPECT_EQ(driver.Shown(), 2);
    EXPECT_EQ(Rows("select caldate, caljournal from pmcalendar order by caldate"),
              "(#2026-12-05#,'typed, not saved yet')(#2026-12-06#,'From elsewhere')");
    EXPECT_EQ(Rows("select calevent, timestart, timeend from pmcaleventdate"),
              "('Run',@08:00:00,@08:30:00)");
    EXPECT_EQ(Rows("select calevent from pmcalevent"), "('Run')");
    ASSERT_EQ(Backups::List().size(), 1);
    EXPECT_EQ(Backups::Label(Backups::List().at(0).reason), "Before import");
}

// A file that cannot be read is reported once, in the dialog, and nothing is written or asked.
TEST_F(ExchangeWindow, ABrokenFileIsReportedOnceAndTheDialogStays) {
    Open();
    QTemporaryDir out;
    QFile broken(out.filePath("broken.ics"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:2026-12-06\r\n");
    broken.close();
    prompter->ExpectError("Error while importing!", "Import Error!",
                          "The file '" + broken.fileName() +
                              "' cannot be imported: line 3: \"2026-12-06\" is not a date or a "
                              "date and time. Nothing was imported.");
    DialogDriver driver([&](QDialog& dialog) {
        Named<QLineEdit>(&dialog, "txtPath")->setText(broken.fileName());
        Named<QPushButton>(&dialog, "cmdGo")->click();
        EXPECT_TRUE(dialog.isVisible() || dialog.result() == 0) << "not accepted";
        return dialog.result();
    });
    Menu("mnuFileImport");
    EXPECT_EQ(Count("select * from pmcaleventdate"), 0);
    EXPECT_TRUE(Backups::List().isEmpty());
}

} // namespace
