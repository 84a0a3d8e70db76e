#include "CalendarFixture.h"

#include "calendar/DayEventsPanel.h"
#include "calendar/frmEvents.h"
#include "calendar/frmEventsBrowse.h"

namespace {

QStringList Types(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0) + '|' + list->topLevelItem(i)->text(1);
    return out;
}

void ClickItem(QTreeWidget* list, const QString& text) {
    QTreeWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
    ASSERT_TRUE(item) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

TEST_F(Calendar, EventTypesAreAddedDescribedAndDeletedUnlessUsed) {
    Exec(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,"
                        "timeend) values (#05 Dec 2026#,'Birthday','',#12:00:00 AM#,#12:00:00 "
                        "AM#)"));
    Show("December", 2026);
    ClickDay(6);
    cal->cboEvent->setEditText(QStringLiteral("half-typed"));
    DialogDriver driver([&](QDialog& d) {
        auto& dialog = dynamic_cast<frmEvents&>(d);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Event Maintenance"));
        EXPECT_EQ(Types(dialog.lvwEvents), QStringList({"Birthday|", "O'Brien's day|"}));

        dialog.txtEvent->setText(QStringLiteral("  Anniversary  "));
        dialog.txtDesc->setText(QStringLiteral(" yearly "));
        dialog.cmdEventSave->click();
        EXPECT_TRUE(dialog.txtEvent->text().isEmpty() && dialog.txtDesc->text().isEmpty());
        EXPECT_EQ(cal->cboEvent->findText(QStringLiteral("Anniversary")), 0)
            << "the day's type list has the new type at once";

        ClickItem(dialog.lvwEvents, QStringLiteral("Birthday"));
        EXPECT_EQ(dialog.txtEvent->text(), QStringLiteral("Birthday"));
        dialog.txtDesc->setText(QStringLiteral("Cake"));
        dialog.cmdEventSave->click();

        prompter->Expect(QStringLiteral("Please key in an Event Name!"), QStringLiteral("Pimora"),
                         MsgIcon::Exclamation, MsgButtons::OK);
        dialog.txtEvent->setText(QStringLiteral("   "));
        dialog.cmdEventSave->click();

        ClickItem(dialog.lvwEvents, QStringLiteral("Birthday"));
        prompter->Expect(QStringLiteral("The Event is currently being used, and cannot be "
                                        "deleted!"),
                         QStringLiteral("Pimora"), MsgIcon::None, MsgButtons::OK);
        dialog.cmdEventDel->click();
        EXPECT_TRUE(dialog.txtEvent->text().isEmpty()) << "emptied anyway";
        dialog.txtEvent->setText(QStringLiteral(" Zebra "));
        prompter->Expect(QStringLiteral("There is no such Event (Zebra) to delete!"),
                         QStringLiteral("Pimora"), MsgIcon::None, MsgButtons::OK);
        dialog.cmdEventDel->click();
        ClickItem(dialog.lvwEvents, QStringLiteral("O'Brien's day"));
        dialog.cmdEventDel->click();

        // One direction for the whole list: the first header click sorts ascending, every
        // later one turns the order, whichever column.
        dialog.lvwEvents_ColumnClick(1);
        EXPECT_EQ(Types(dialog.lvwEvents).first(), QStringLiteral("Birthday|Cake"));
        dialog.lvwEvents_ColumnClick(0);
        EXPECT_EQ(Types(dialog.lvwEvents).first(), QStringLiteral("Birthday|Cake"));
        EXPECT_EQ(Types(dialog.lvwEvents).last(), QStringLiteral("Anniversary|yearly"));
        dialog.Command3->click();
        return dialog.result();
    });
    window->Action(QStringLiteral("mnuMaintEvents"))->trigger();
    EXPECT_EQ(driver.Shown(), 1);
    EXPECT_EQ(Rows(QStringLiteral("select calevent, caleventdesc from pmcalevent order by "
                                  "calevent")),
              QStringLiteral("('Anniversary',' yearly ')('Birthday','Cake')"));
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("half-typed")) << "kept over refills";
}

TEST_F(Calendar, TheBrowserPutsItsChoiceInTheEditorAndWritesNothing) {
    Show("December", 2026);
    ClickDay(5);
    EXPECT_TRUE(cal->part->Events().cmdBrowseEvents->isEnabled());
    int round = 0;
    DialogDriver driver([&](QDialog& d) {
        auto& browser = dynamic_cast<frmEventsBrowse&>(d);
        EXPECT_EQ(browser.windowTitle(), QStringLiteral("Browse Events"));
        if (++round == 1) {
            ClickItem(browser.lvwEvents, QStringLiteral("O'Brien's day"));
            browser.cmdSelect->click();
        } else if (round == 2) {
            browser.cmdCancel->click();
        } else {
            const QPoint at =
                browser.lvwEvents->visualItemRect(browser.lvwEvents->topLevelItem(0)).center();
            QTest::mouseClick(browser.lvwEvents->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(browser.lvwEvents->viewport(), Qt::LeftButton, {}, at);
        }
        return browser.result();
    });
    cal->part->Events().cmdBrowseEvents->click();
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("O'Brien's day"));
    cal->part->Events().cmdBrowseEvents->click();
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("O'Brien's day")) << "Cancel";
    cal->part->Events().cmdBrowseEvents->click();
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("Birthday")) << "double-click";
    EXPECT_EQ(Count(QStringLiteral("select * from pmcaleventdate")), 0);
}

} // namespace
