#include "calendar/JournalPanel.h"

#include "calendar/modCalendar.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"

#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>

JournalPanel::JournalPanel(QWidget* frame, const QLabel& selectedDay)
    : QObject(frame), selectedDay_(selectedDay) {
    auto* title = new QLabel(QStringLiteral("Journal"), frame);
    rtfCalQJournal = new QPlainTextEdit(frame);
    rtfCalQJournal->setObjectName(QStringLiteral("rtfCalQJournal"));
    title->setBuddy(rtfCalQJournal);
    frame->layout()->addWidget(title);
    frame->layout()->addWidget(rtfCalQJournal);
    connect(rtfCalQJournal, &QPlainTextEdit::textChanged, this, [this] { JournalChanged = true; });
}

void JournalPanel::Clear() {
    rtfCalQJournal->clear();
}

bool JournalPanel::HasText() const {
    return !rtfCalQJournal->toPlainText().isEmpty();
}

void JournalPanel::SetLoadFailed(bool failed) {
    loadFailed_ = failed;
    rtfCalQJournal->setReadOnly(failed);
}

void JournalPanel::LoadJournal() {
    const auto day = DayOfText(selectedDay_.text());
    if (!day)
        return;
    Recordset rs;
    gSQL = QStringLiteral("select caljournal from pmcalendar where caldate =#") + SqlDay(*day) +
           QStringLiteral("#");
    rs.Open(gSQL, *gConn);
    if (!rs.Eof())
        rtfCalQJournal->setPlainText(NullToEmpty(rs.Field(QStringLiteral("caljournal"))));
    rs.Close();
}

bool JournalPanel::SaveCalendarEntry(const QString& dayText) {
    const auto day = DayOfText(dayText);
    if (!DayOfText(selectedDay_.text()) || !JournalChanged || loadFailed_ || !day)
        return true;
    Recordset rs;
    try {
        QString journal = rtfCalQJournal->toPlainText();
        QString statement;
        if (!TrimSpaces(journal).isEmpty()) {
            gSQL = QStringLiteral("select caldate from pmcalendar where caldate =#") +
                   SqlDay(*day) + QStringLiteral("#");
            rs.Open(gSQL, *gConn);
            if (rs.Eof())
                statement =
                    QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('") +
                    SqlDay(*day) + QStringLiteral("','") + FixQuote(journal) + QStringLiteral("')");
            else
                statement = QStringLiteral("update pmcalendar set caljournal = '") +
                            FixQuote(journal) + QStringLiteral("' where caldate = #") +
                            SqlDay(*day) + QStringLiteral("#");
            rs.Close();
        } else {
            statement = QStringLiteral("delete from pmcalendar where caldate = #") + SqlDay(*day) +
                        QStringLiteral("#");
        }
        gSQL = statement;
        gConn->Execute(gSQL);
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving information!"),
                  QStringLiteral("Database Error!"), e);
        rs.CloseIfOpen();
        return false;
    }
}
