// The calendar as a user meets it: the main window loaded on a fresh database, its controls
// found by name.
#pragma once

#include "support/Windows.h"

#include "calendar/CalGridView.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPart.h"
#include "calendar/modCalendar.h"

#include <QTimeEdit>

using namespace modCalendar;

class Calendar : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Exec("insert into pmcalevent (calevent,caleventdesc) values ('Birthday','')");
        Exec("insert into pmcalevent (calevent,caleventdesc) values ('O''Brien''s day','')");
        Open();
    }
    void Open() {
        modCalendar::Reset();
        WindowTest::Open();
        part = window->findChild<CalendarPart*>();
        flxCal = C<CalGridView>("flxCal");
        model = flxCal->Model();
        lblSelDate = C<QLabel>("lblSelDate");
        lblCalMonth = C<QLabel>("lblCalMonth");
        journal = C<QPlainTextEdit>("rtfCalQJournal");
        lvwDayEvents = C<QTreeWidget>("lvwDayEvents");
        cboEvent = C<QComboBox>("cboEvent");
        txtEventDetails = C<QLineEdit>("txtEventDetails");
        dtpEndTime = C<QTimeEdit>("dtpEndTime");
    }
    void TearDown() override {
        window.reset();
        modCalendar::Reset();
    }

    void Press(const char* button) { C(button)->click(); }
    void Show(const char* month, int year) {
        part->Grid().RenderCalMonth(month, QString::number(year));
    }
    QPoint CellOf(int day) const {
        for (int r = 1; r <= 6; ++r)
            for (int c = 0; c <= 6; ++c)
                if (model->Text(r, c) == QString::number(day))
                    return {r, c};
        ADD_FAILURE() << "no cell for day " << day;
        return {1, 0};
    }
    void Click(int row, int col) {
        QTest::mouseClick(flxCal->viewport(), Qt::LeftButton, {},
                          flxCal->CellRect(row, col).center());
    }
    void ClickDay(int day) {
        const QPoint rc = CellOf(day);
        Click(rc.x(), rc.y());
    }
    // A cell never painted shows the normal colour.
    QColor ColourOf(int day) const {
        const QPoint rc = CellOf(day);
        const QColor c = model->BackColor(rc.x(), rc.y());
        return c.isValid() ? c : CalNormalColor;
    }
    void Type(const QString& text) {
        journal->setFocus();
        journal->insertPlainText(text);
    }
    void AddJournal(const char* day, QString text) {
        Exec(QString("insert into pmcalendar (caldate,caljournal) values ('%1','%2')")
                 .arg(day, text.replace('\'', "''")));
    }
    void AddEvent(const char* day, const char* type, const char* details) {
        Exec(QString("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,"
                     "timeend) values (#%1#,'%2','%3',#12:00:00 AM#,#12:00:00 AM#)")
                 .arg(day, type, details));
    }
    QString Stored(const char* day) {
        return Rows(QString("select caljournal from pmcalendar where caldate =#%1#").arg(day));
    }
    void SetEvent(const QString& name, const QString& details, QTime start, QTime end) {
        cboEvent->setEditText(name);
        txtEventDetails->setText(details);
        C<QTimeEdit>("dtpStartTime")->setTime(start);
        dtpEndTime->setTime(end);
    }
    QStringList Listed() const {
        QStringList items;
        for (int i = 0; i < lvwDayEvents->topLevelItemCount(); ++i)
            items << lvwDayEvents->topLevelItem(i)->text(0) + '|' +
                         lvwDayEvents->topLevelItem(i)->text(1);
        return items;
    }
    void ClickItem(QTreeWidget* list, const QString& text) {
        QTreeWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
        ASSERT_TRUE(item) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }

    CalendarPart* part = nullptr;
    CalGridView* flxCal = nullptr;
    CalGridModel* model = nullptr;
    QLabel *lblSelDate = nullptr, *lblCalMonth = nullptr;
    QPlainTextEdit* journal = nullptr;
    QTreeWidget* lvwDayEvents = nullptr;
    QComboBox* cboEvent = nullptr;
    QLineEdit* txtEventDetails = nullptr;
    QTimeEdit* dtpEndTime = nullptr;
};
