#include "calendar/JournalPanel.h"

#include "calendar/CalendarGrid.h"
#include "calendar/modCalendar.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/FindFrame.h"
#include "controls/IdleSaver.h"
#include "controls/TextBox.h"
#include "controls/TextFinder.h"
#include "controls/Twips.h"
#include "store/CalendarStore.h"

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

JournalPanel::JournalPanel(QWidget* frame, const CalendarGrid& grid, TextFinder& finder)
    : QObject(frame), grid_(grid), finder_(finder) {
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
    saver_ = new IdleSaver(this, [this] { SaveCalendarEntry(grid_.SelectedDay()); });
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

void JournalPanel::SetFindText(const QString& text) {
    txtCalFind->setText(text);
}

void JournalPanel::ApplySizes(const std::vector<TwipsSetting>& settings) {
    ApplyTwipsSettings({rtfCalQJournal}, settings);
}

int JournalPanel::Top() const {
    return GeometryTwips(rtfCalQJournal).top;
}

void JournalPanel::SetLoadFailed(bool failed) {
    loadFailed_ = failed;
    rtfCalQJournal->setReadOnly(failed);
}

void JournalPanel::LoadJournal() {
    const auto day = DayOfText(grid_.SelectedDay());
    if (!day)
        return;
    if (const std::optional<QString> journal = CalendarStore::LoadJournal(*day)) {
        const QScopedValueRollback loading(loading_, true);
        LoadPlainText(*rtfCalQJournal, *journal);
    }
}

bool JournalPanel::SaveCalendarEntry(const QString& dayText) {
    const auto day = DayOfText(dayText);
    if (!DayOfText(grid_.SelectedDay()) || !JournalChanged || loadFailed_ || !day)
        return true;
    try {
        CalendarStore::SaveJournal(*day, rtfCalQJournal->toPlainText());
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while saving information!"),
                  QStringLiteral("Database Error!"), e);
        return false;
    }
}
