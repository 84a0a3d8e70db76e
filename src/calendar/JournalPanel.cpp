#include "calendar/JournalPanel.h"

#include "calendar/modCalendar.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "ui/widgets/FindFrame.h"
#include "ui/widgets/FindText.h"
#include "ui/widgets/IdleSaver.h"
#include "ui/widgets/TextBox.h"
#include "ui/widgets/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {
// The journal's top with the find bar closed, and below the open bar.
constexpr int kTopAlone = 240;
constexpr int kTopBelowBar = 1260;
} // namespace

JournalPanel::JournalPanel(QWidget* frame, const QLabel& selectedDay, TextFinder& finder)
    : QObject(frame), selectedDay_(selectedDay), finder_(finder) {
    rtfCalQJournal = new QPlainTextEdit(frame);
    rtfCalQJournal->setObjectName(QStringLiteral("rtfCalQJournal"));
    rtfCalQJournal->setAccessibleName(QStringLiteral("Journal"));
    PlaceTwips(rtfCalQJournal, {120, kTopBelowBar, 8475, 7455});

    const FindFrame bar = MakeFindFrame(frame, QStringLiteral("Find in Calendar"),
                                        {"fraCalFindToday", "txtCalFind", "cmdCalFind",
                                         "chkCalFindCaseSensitive", "cmdCalFindClose"});
    fraCalFindToday = bar.frame;
    txtCalFind = bar.text;
    cmdCalFind = bar.find;
    chkCalFindCaseSensitive = bar.caseSensitive;
    cmdCalFindClose = bar.close;

    // The bar takes the band the journal leaves when it moves down.
    PlaceTwips(fraCalFindToday, {120, kTopAlone, 8475, kTopBelowBar - kTopAlone});
    // What the user types is also written two seconds after the last keystroke.
    saver_ = new IdleSaver(this, [this] { SaveCalendarEntry(selectedDay_.text()); });
    connect(rtfCalQJournal, &QPlainTextEdit::textChanged, this, [this] {
        JournalChanged = true;
        if (!loading_)
            saver_->Edited();
    });
    connect(cmdCalFind, &QPushButton::clicked, this, &JournalPanel::cmdCalFind_Click);
    connect(txtCalFind, &QLineEdit::returnPressed, this, &JournalPanel::cmdCalFind_Click);
    connect(cmdCalFindClose, &QPushButton::clicked, this, [this] { ShowCalendarFind(false); });
    finder_.SetBox(QString::number(kFunctionCalendar), rtfCalQJournal);
}

void JournalPanel::ShowCalendarFind(bool show) {
    const int H = WindowHeightTwips(rtfCalQJournal);
    TwipsRect box = GeometryTwips(rtfCalQJournal);
    box.top = show ? kTopBelowBar : kTopAlone;
    // A window too low for the box leaves its height as it was.
    if (const int height = show ? H - 4065 : H - 3045; height > 0)
        box.height = height;
    PlaceTwips(rtfCalQJournal, box);
    fraCalFindToday->setVisible(show);
    if (!show)
        finder_.LastFindPos = 0;
}

void JournalPanel::cmdCalFind_Click() {
    finder_.FindText(QStringLiteral("N"), QString::number(gCurrentFunction), txtCalFind->text(),
                     chkCalFindCaseSensitive->isChecked());
}

void JournalPanel::Clear() {
    const QScopedValueRollback loading(loading_, true);
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
    if (!rs.Eof()) {
        const QScopedValueRollback loading(loading_, true);
        LoadPlainText(*rtfCalQJournal, NullToEmpty(rs.Field(QStringLiteral("caljournal"))));
    }
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
