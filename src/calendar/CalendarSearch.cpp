#include "calendar/CalendarSearch.h"

#include "calendar/CalendarGrid.h"
#include "calendar/modCalendar.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "controls/CommandButton.h"
#include "controls/ReportList.h"
#include "controls/Twips.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDayRole = Qt::UserRole;

QRadioButton* Option(QWidget* parent, const char* name, const char* caption) {
    auto* o = new QRadioButton(QString::fromLatin1(caption), parent);
    o->setObjectName(QString::fromLatin1(name));
    return o;
}

// A search row: label, box, Search and Clear.
QLineEdit* SearchRow(QWidget* frame, QGridLayout* grid, const char* label, const char* box,
                     QPushButton* search, QPushButton* clear) {
    auto* text = new QLineEdit(frame);
    text->setObjectName(QString::fromLatin1(box));
    auto* caption = new QLabel(QString::fromLatin1(label), frame);
    caption->setBuddy(text);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(text, 0, 1);
    grid->addWidget(search, 0, 2);
    grid->addWidget(clear, 0, 3);
    return text;
}

QString OneLine(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
}

} // namespace

QString ResultDateText(const QDate& day, const QString& format) {
    // An empty pattern is the general date; one that writes two days alike shows no date.
    const QDate a(2001, 2, 3), b(2004, 5, 6);
    if (!format.isEmpty() && VbFormat(a, format) == VbFormat(b, format))
        return VbFormat(day, QStringLiteral("yyyy-mm-dd"));
    return VbFormat(day, format);
}

CalendarSearch::CalendarSearch(QWidget* searchFrame, QWidget* journalFrame, QWidget* eventsFrame,
                               const CalendarGrid& grid)
    : QObject(searchFrame), grid_(grid) {
    {
        auto* grid = new QGridLayout;
        cmdCalSearch = CommandButton(journalFrame, "cmdCalSearch", "&Search");
        cmdCalSearchClear = CommandButton(journalFrame, "cmdCalSearchClear", "C&lear");
        txtCalSearch = SearchRow(journalFrame, grid, "Search Journal:", "txtCalSearch",
                                 cmdCalSearch, cmdCalSearchClear);
        optCalSearchAll = Option(journalFrame, "optCalSearchAll", "Search &all of Journal");
        optCalSearchToday = Option(journalFrame, "optCalSearchToday", "Search Today o&nly");
        chkCalSearchCase = new QCheckBox(QStringLiteral("Case Sensitive"), journalFrame);
        chkCalSearchCase->setObjectName(QStringLiteral("chkCalSearchCase"));
        grid->addWidget(optCalSearchAll, 1, 1);
        grid->addWidget(optCalSearchToday, 2, 1);
        grid->addWidget(chkCalSearchCase, 2, 2, 1, 2);
        auto* column = new QVBoxLayout(journalFrame);
        column->addLayout(grid);
        column->addStretch(1);
    }
    {
        auto* grid = new QGridLayout;
        cmdCalEventsSearch = CommandButton(eventsFrame, "cmdCalEventsSearch", "&Search");
        cmdCalEventsClear = CommandButton(eventsFrame, "cmdCalEventsClear", "C&lear");
        txtCalEventsSearch = SearchRow(eventsFrame, grid, "Search Events:", "txtCalEventsSearch",
                                       cmdCalEventsSearch, cmdCalEventsClear);
        optCalEventsAll = Option(eventsFrame, "optCalEventsAll", "Search all of Events");
        optCalEventsTitleOnly =
            Option(eventsFrame, "optCalEventsTitleOnly", "Search Event Title Only");
        optCalEventsDescOnly =
            Option(eventsFrame, "optCalEventsDescOnly", "Search Event Details Only");
        grid->addWidget(optCalEventsAll, 1, 1);
        grid->addWidget(optCalEventsTitleOnly, 2, 1);
        grid->addWidget(optCalEventsDescOnly, 3, 1);
        auto* column = new QVBoxLayout(eventsFrame);
        column->addLayout(grid);
        column->addStretch(1);
    }
    lvwCalSearch = new QTreeWidget(searchFrame);
    lvwCalSearch->setObjectName(QStringLiteral("lvwCalSearch"));
    lvwCalSearch->setRootIsDecorated(false);
    lvwCalSearch->setUniformRowHeights(true);
    lvwCalSearch->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Journal Entries"),
                                   QStringLiteral("Key"), QStringLiteral("Temp")});
    lvwCalSearch->header()->setSectionsClickable(true);
    SetColumnWidthsTwips(lvwCalSearch, {1000});
    lvwCalSearch->setColumnHidden(3, true);
    PlaceTwips(lvwCalSearch, {120, 2520, 8475, 6195});
    // The count stands just above the list, at its right.
    auto* hits = new QWidget(searchFrame);
    PlaceTwips(hits, {120, 2280, 8475, 240});
    auto* row = new QHBoxLayout(hits);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(new QLabel(QStringLiteral("Hits Found:"), hits));
    lblCalendarFound = new QLabel(QStringLiteral("0"), hits);
    lblCalendarFound->setObjectName(QStringLiteral("lblCalendarFound"));
    row->addWidget(lblCalendarFound);
    SetResultsLvw(QStringLiteral("JOURNAL"));

    connect(cmdCalSearch, &QPushButton::clicked, this, &CalendarSearch::cmdCalSearch_Click);
    connect(txtCalSearch, &QLineEdit::returnPressed, this, &CalendarSearch::cmdCalSearch_Click);
    connect(cmdCalEventsSearch, &QPushButton::clicked, this,
            &CalendarSearch::cmdCalEventsSearch_Click);
    connect(txtCalEventsSearch, &QLineEdit::returnPressed, this,
            &CalendarSearch::cmdCalEventsSearch_Click);
    connect(cmdCalSearchClear, &QPushButton::clicked, this,
            &CalendarSearch::cmdCalSearchClear_Click);
    connect(cmdCalEventsClear, &QPushButton::clicked, this,
            &CalendarSearch::cmdCalEventsClear_Click);
    // Chosen by code or by the user alike, as the option buttons always did.
    connect(optCalSearchAll, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkCalSearchCase->setEnabled(false);
    });
    connect(optCalSearchToday, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkCalSearchCase->setEnabled(true);
    });
    connect(lvwCalSearch->header(), &QHeaderView::sectionClicked, this,
            &CalendarSearch::lvwCalSearch_ColumnClick);
    ConnectOpen(lvwCalSearch, [this] { lvwCalSearch_DblClick(); });
}

void CalendarSearch::ApplySizes(const std::vector<TwipsSetting>& settings) {
    ApplyTwipsSettings({lvwCalSearch}, settings);
}

void CalendarSearch::ChooseDefaults() {
    optCalSearchAll->setChecked(true);
    optCalEventsAll->setChecked(true);
}

void CalendarSearch::SetResultsLvw(const QString& sSearchType) {
    lvwCalSearch->clear();
    QTreeWidgetItem* header = lvwCalSearch->headerItem();
    if (sSearchType == QLatin1String("EVENTS")) {
        header->setText(1, QStringLiteral("Event"));
        header->setText(2, QStringLiteral("Event Details"));
        lvwCalSearch->setColumnHidden(2, false);
        SetColumnWidthsTwips(lvwCalSearch, {1000, 2000, 5460});
    } else if (sSearchType == QLatin1String("JOURNAL")) {
        header->setText(1, QStringLiteral("Journal Entries"));
        header->setText(2, QStringLiteral("Key"));
        SetColumnWidthsTwips(lvwCalSearch, {1000, 7455});
        lvwCalSearch->setColumnHidden(2, true); // width 0
    }
}

// One line a result: a journal's line breaks are shown as spaces. The journal itself is read
// from the database when its day is opened, so the row keeps no second copy of it.
void CalendarSearch::List(QList<CalendarStore::Found> found, bool events) {
    if (found.isEmpty()) {
        MsgBox(QStringLiteral("Nothing found!"));
        return;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(found.size());
    for (CalendarStore::Found& row : found) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, ResultDateText(row.day, gShortDateFormat));
        // The result keeps its day, whatever the date text says in the user's format.
        item->setData(0, kDayRole, row.day);
        item->setText(1, OneLine(std::move(row.text)));
        if (events)
            item->setText(2, OneLine(std::move(row.details)));
        items << item;
    }
    // One update of the list for all the rows.
    lvwCalSearch->addTopLevelItems(items);
}

void CalendarSearch::cmdCalSearch_Click() {
    const QString text = txtCalSearch->text();
    if (TrimSpaces(text).isEmpty()) {
        MsgBox(QStringLiteral("Please enter a string to search for!"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Nothing to search!"));
        return;
    }
    SetResultsLvw(QStringLiteral("JOURNAL"));
    try {
        if (optCalSearchAll->isChecked()) {
            QList<CalendarStore::Found> found = CalendarStore::SearchJournals(text);
            const auto hits = found.size();
            List(std::move(found), false);
            lblCalendarFound->setText(QString::number(hits));
            return;
        }
        // The selected day; an empty label names no day, and the search fails.
        if (CalendarStore::JournalOfDayHolds(DayOfText(grid_.SelectedDay()), text))
            emit foundInDay(text, chkCalSearchCase->isChecked());
        else
            MsgBox(QStringLiteral("Nothing found!"));
        lblCalendarFound->setText(QStringLiteral("0"));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while doing Calendar search!"),
                  QStringLiteral("Search Error!"), e);
    }
}

void CalendarSearch::cmdCalEventsSearch_Click() {
    const QString text = txtCalEventsSearch->text();
    if (TrimSpaces(text).isEmpty()) {
        MsgBox(QStringLiteral("Please enter a string to search for!"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Nothing to search!"));
        return;
    }
    SetResultsLvw(QStringLiteral("EVENTS"));
    try {
        const auto in = optCalEventsTitleOnly->isChecked() ? CalendarStore::EventFields::Type
                        : optCalEventsDescOnly->isChecked()
                            ? CalendarStore::EventFields::Details
                            : CalendarStore::EventFields::TypeOrDetails;
        QList<CalendarStore::Found> found = CalendarStore::SearchEvents(text, in);
        const auto hits = found.size();
        List(std::move(found), true);
        lblCalendarFound->setText(QString::number(hits));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while doing Calendar search!"),
                  QStringLiteral("Search Error!"), e);
    }
}

void CalendarSearch::cmdCalSearchClear_Click() {
    lvwCalSearch->clear();
    txtCalSearch->clear();
    lblCalendarFound->setText(QStringLiteral("0"));
}

void CalendarSearch::cmdCalEventsClear_Click() {
    lvwCalSearch->clear();
    txtCalEventsSearch->clear();
    lblCalendarFound->setText(QStringLiteral("0"));
}

void CalendarSearch::lvwCalSearch_ColumnClick(int column) {
    descending_ = !descending_;
    lvwCalSearch->setSortingEnabled(true);
    lvwCalSearch->sortByColumn(column, descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CalendarSearch::lvwCalSearch_DblClick() {
    const QTreeWidgetItem* item = lvwCalSearch->currentItem();
    if (lvwCalSearch->topLevelItemCount() == 0 || !item)
        return;
    emit dayChosen(item->data(0, kDayRole).toDate());
}
