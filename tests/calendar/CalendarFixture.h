// The calendar as a user meets it: the main window loaded on a fresh database, its
// controls found by name.
#pragma once

#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "calendar/CalGrid.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPart.h"
#include "calendar/modCalendar.h"
#include "data/modDB.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace modCalendar;

// The calendar's controls, found by their names as a user's automation would find them.
struct CalendarControls {
    explicit CalendarControls(frmMain& w)
        : part(w.findChild<CalendarPart*>()), grid(&part->Grid()),
          flxCal(Named<CalGridView>(&w, "flxCal")), flxCalModel(flxCal->Model()),
          lblSelDate(Named<QLabel>(&w, "lblSelDate")),
          lblCalMonth(Named<QLabel>(&w, "lblCalMonth")), fraCal(Named<QFrame>(&w, "fraCal")),
          fraDayEvents(Named<QWidget>(&w, "fraDayEvents")),
          fraEditMonthYear(Named<QFrame>(&w, "fraEditMonthYear")),
          cboMonth(Named<QComboBox>(&w, "cboMonth")), cboYear(Named<QComboBox>(&w, "cboYear")),
          cmdOK(Named<QPushButton>(&w, "cmdOK")),
          cmdPrevMonth(Named<QPushButton>(&w, "cmdPrevMonth")),
          cmdNextMonth(Named<QPushButton>(&w, "cmdNextMonth")),
          cmdPrevDay(Named<QPushButton>(&w, "cmdPrevDay")),
          cmdNextDay(Named<QPushButton>(&w, "cmdNextDay")),
          rtfCalQJournal(Named<QPlainTextEdit>(&w, "rtfCalQJournal")),
          lvwDayEvents(Named<QTreeWidget>(&w, "lvwDayEvents")),
          cboEvent(Named<QComboBox>(&w, "cboEvent")),
          txtEventDetails(Named<QLineEdit>(&w, "txtEventDetails")),
          dtpStartTime(Named<QTimeEdit>(&w, "dtpStartTime")),
          dtpEndTime(Named<QTimeEdit>(&w, "dtpEndTime")),
          cmdCalEventSave(Named<QPushButton>(&w, "cmdCalEventSave")),
          cmdCalEventDelete(Named<QPushButton>(&w, "cmdCalEventDelete")),
          cmdCalEventClear(Named<QPushButton>(&w, "cmdCalEventClear")) {}

    CalendarPart* part;
    CalendarGrid* grid;
    CalGridView* flxCal;
    CalGridModel* flxCalModel;
    QLabel* lblSelDate;
    QLabel* lblCalMonth;
    QFrame* fraCal;
    QWidget* fraDayEvents;
    QFrame* fraEditMonthYear;
    QComboBox* cboMonth;
    QComboBox* cboYear;
    QPushButton* cmdOK;
    QPushButton* cmdPrevMonth;
    QPushButton* cmdNextMonth;
    QPushButton* cmdPrevDay;
    QPushButton* cmdNextDay;
    QPlainTextEdit* rtfCalQJournal;
    QTreeWidget* lvwDayEvents;
    QComboBox* cboEvent;
    QLineEdit* txtEventDetails;
    QTimeEdit* dtpStartTime;
    QTimeEdit* dtpEndTime;
    QPushButton* cmdCalEventSave;
    QPushButton* cmdCalEventDelete;
    QPushButton* cmdCalEventClear;
};

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        Exec(QStringLiteral("insert into pmpref (pwd) values ('')"));
        Exec(QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values "
                            "('Birthday','')"));
        Exec(QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values ('O''Brien''s "
                            "day','')"));
        modCalendar::Reset();
        window = std::make_unique<frmMain>();
        window->Load();
        controls = std::make_unique<CalendarControls>(*window);
        cal = controls.get();
    }
    void TearDown() override {
        controls.reset();
        window.reset();
        modCalendar::Reset();
    }

    void Show(const char* month, int year) {
        cal->grid->RenderCalMonth(QString::fromLatin1(month), QString::number(year));
    }
    // Rows 1 to 6 of the grid, "." for an empty cell.
    QStringList Weeks() const {
        QStringList rows;
        for (int r = 1; r <= 6; ++r) {
            QStringList cells;
            for (int c = 0; c <= 6; ++c) {
                const QString t = cal->flxCalModel->Text(r, c);
                cells << (t.isEmpty() ? QStringLiteral(".") : t);
            }
            rows << cells.join(' ');
        }
        return rows;
    }
    QPoint CellOf(int day) const {
        for (int r = 1; r <= 6; ++r)
            for (int c = 0; c <= 6; ++c)
                if (cal->flxCalModel->Text(r, c) == QString::number(day))
                    return {r, c};
        ADD_FAILURE() << "no cell for day " << day;
        return {1, 0};
    }
    void Click(int row, int col) {
        QTest::mouseClick(cal->flxCal->viewport(), Qt::LeftButton, {},
                          cal->flxCal->CellRect(row, col).center());
    }
    void ClickDay(int day) {
        const QPoint rc = CellOf(day);
        Click(rc.x(), rc.y());
    }
    // A cell never painted shows the normal colour.
    QColor ColourOf(int day) const {
        const QPoint rc = CellOf(day);
        const QColor c = cal->flxCalModel->BackColor(rc.x(), rc.y());
        return c.isValid() ? c : CalNormalColor;
    }
    void Type(QWidget* w, const QString& text) {
        w->setFocus();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            edit->insertPlainText(text);
        else if (auto* line = qobject_cast<QLineEdit*>(w))
            line->insert(text);
    }
    QString Journal(const char* day) {
        return Rows(QStringLiteral("select caljournal from pmcalendar where caldate =#") +
                    QString::fromLatin1(day) + QStringLiteral("#"));
    }
    void SetEvent(const QString& name, const QString& details, QTime start, QTime end) {
        cal->cboEvent->setEditText(name);
        cal->txtEventDetails->setText(details);
        cal->dtpStartTime->setTime(start);
        cal->dtpEndTime->setTime(end);
    }
    QStringList Listed() const {
        QStringList items;
        for (int i = 0; i < cal->lvwDayEvents->topLevelItemCount(); ++i)
            items << cal->lvwDayEvents->topLevelItem(i)->text(0) + QLatin1Char('|') +
                         cal->lvwDayEvents->topLevelItem(i)->text(1);
        return items;
    }
    void CloseWindow() {
        frmMain* w = window.release();
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->close();
        DeleteClosedWindows();
    }

    AppFolder folder;
    ScopedPrompter prompter;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<CalendarControls> controls;
    CalendarControls* cal = nullptr;
};
