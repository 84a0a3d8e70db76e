#include "thoughts/ThoughtsSearch.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/ReportList.h"
#include "controls/Twips.h"
#include "platform/Prompter.h"
#include "store/ThoughtStore.h"
#include "thoughts/ThoughtNote.h"
#include "thoughts/ThoughtTree.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

ThoughtsSearch::ThoughtsSearch(QWidget* frame, const ThoughtTree& tree)
    : QObject(frame), tree_(tree) {
    auto* controls = new QWidget(frame);
    PlaceTwips(controls, {120, 240, 9015, 1140});
    auto* form = new QGridLayout(controls);
    form->setContentsMargins(0, 0, 0, 0);
    txtThoSearch = new QLineEdit(controls);
    txtThoSearch->setObjectName(QStringLiteral("txtThoSearch"));
    auto* label = new QLabel(QStringLiteral("Search in Thoughts:"), controls);
    label->setBuddy(txtThoSearch);
    cmdThoSearch = new QPushButton(QStringLiteral("&Search"), controls);
    cmdThoSearch->setObjectName(QStringLiteral("cmdThoSearch"));
    cmdSearchClear = new QPushButton(QStringLiteral("C&lear"), controls);
    cmdSearchClear->setObjectName(QStringLiteral("cmdSearchClear"));
    optThoSearchAll = new QRadioButton(QStringLiteral("Search &all Thought nodes"), controls);
    optThoSearchAll->setObjectName(QStringLiteral("optThoSearchAll"));
    optThoSearchAll->setToolTip(QStringLiteral("Search all of Thoughts"));
    optThoSearchNode = new QRadioButton(QStringLiteral("Search o&nly this Thought node"), controls);
    optThoSearchNode->setObjectName(QStringLiteral("optThoSearchNode"));
    optThoSearchNode->setToolTip(QStringLiteral("Search the current Thought node"));
    chkThoCaseSensitive = new QCheckBox(QStringLiteral("Case Sensitive"), controls);
    chkThoCaseSensitive->setObjectName(QStringLiteral("chkThoCaseSensitive"));
    form->addWidget(label, 0, 0);
    form->addWidget(txtThoSearch, 0, 1);
    form->addWidget(cmdThoSearch, 0, 2);
    form->addWidget(cmdSearchClear, 0, 3);
    form->addWidget(optThoSearchAll, 1, 1);
    form->addWidget(optThoSearchNode, 2, 1);
    form->addWidget(chkThoCaseSensitive, 2, 2, 1, 2);

    lvwThoSearch = new QTreeWidget(frame);
    lvwThoSearch->setObjectName(QStringLiteral("lvwThoSearch"));
    lvwThoSearch->setRootIsDecorated(false);
    lvwThoSearch->setHeaderLabels(
        {QStringLiteral("Node"), QStringLiteral("Location"), QStringLiteral("thoName")});
    lvwThoSearch->header()->setSectionsClickable(true);
    // The key (one pixel) is for the double-click, not the eye.
    SetColumnWidthsTwips(lvwThoSearch, {3000, 5700, 15});
    PlaceTwips(lvwThoSearch, {120, 1620, 9015, 7095});
    // The count stands just above the list, at its right.
    auto* hits = new QWidget(frame);
    PlaceTwips(hits, {120, 1380, 9015, 240});
    auto* row = new QHBoxLayout(hits);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(new QLabel(QStringLiteral("Hits Found:"), hits));
    lblFound = new QLabel(QStringLiteral("0"), hits);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    row->addWidget(lblFound);

    connect(cmdThoSearch, &QPushButton::clicked, this, &ThoughtsSearch::cmdThoSearch_Click);
    connect(txtThoSearch, &QLineEdit::returnPressed, this, &ThoughtsSearch::cmdThoSearch_Click);
    connect(cmdSearchClear, &QPushButton::clicked, this, &ThoughtsSearch::cmdSearchClear_Click);
    // Chosen by code or by the user alike, as the option buttons always did.
    connect(optThoSearchAll, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkThoCaseSensitive->setEnabled(false);
    });
    connect(optThoSearchNode, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkThoCaseSensitive->setEnabled(true);
    });
    connect(lvwThoSearch->header(), &QHeaderView::sectionClicked, this,
            &ThoughtsSearch::lvwThoSearch_ColumnClick);
    ConnectOpen(lvwThoSearch, [this] { lvwThoSearch_DblClick(); });
}

void ThoughtsSearch::ApplySizes(const std::vector<TwipsSetting>& settings) {
    ApplyTwipsSettings({lvwThoSearch}, settings);
}

void ThoughtsSearch::ChooseNodeMode() {
    optThoSearchNode->setChecked(true);
}

void ThoughtsSearch::cmdThoSearch_Click() {
    const QString text = txtThoSearch->text();
    if (TrimSpaces(text).isEmpty()) {
        MsgBox(QStringLiteral("Please enter a string to search for!"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Nothing to search!"));
        return;
    }
    lvwThoSearch->clear();
    int hits = 0;
    try {
        if (optThoSearchAll->isChecked())
            SearchAll(text, hits);
        else
            SearchNode(text);
        lblFound->setText(QString::number(hits));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while doing Thoughts search!"),
                  QStringLiteral("Search Error!"), e);
    }
}

void ThoughtsSearch::SearchAll(const QString& text, int& hits) {
    const QList<ThoughtStore::ThoughtRow> found = ThoughtStore::Search(text);
    if (found.isEmpty())
        MsgBox(QStringLiteral("Nothing found!"));
    // One update of the list for all the rows, not one a row.
    lvwThoSearch->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> rows;
    try {
        for (const ThoughtStore::ThoughtRow& row : found) {
            const QTreeWidgetItem* node = tree_.Node(row.name);
            if (!node)
                throw RuntimeError(35601, QStringLiteral("Element not found"),
                                   QStringLiteral("TreeView"));
            auto* item = new QTreeWidgetItem;
            item->setText(0, row.caption);
            item->setText(1, LocationOf(node));
            item->setText(2, row.name);
            rows << item;
            ++hits;
        }
    } catch (...) {
        lvwThoSearch->addTopLevelItems(rows); // what was listed before the failure stays
        lvwThoSearch->setUpdatesEnabled(true);
        throw;
    }
    lvwThoSearch->addTopLevelItems(rows);
    lvwThoSearch->setUpdatesEnabled(true);
}

void ThoughtsSearch::SearchNode(const QString& text) {
    if (!ThoughtStore::NoteHolds(ThoughtTree::Key(tree_.currentItem()), text)) {
        MsgBox(QStringLiteral("Nothing found!"));
        return;
    }
    emit foundInNode(txtThoSearch->text(), chkThoCaseSensitive->isChecked());
}

void ThoughtsSearch::cmdSearchClear_Click() {
    txtThoSearch->clear();
    lvwThoSearch->clear();
    lblFound->setText(QStringLiteral("0"));
}

void ThoughtsSearch::lvwThoSearch_ColumnClick(int column) {
    descending_ = !descending_;
    lvwThoSearch->setSortingEnabled(true);
    lvwThoSearch->sortByColumn(column, descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ThoughtsSearch::lvwThoSearch_DblClick() {
    if (lvwThoSearch->topLevelItemCount() == 0 || !lvwThoSearch->currentItem())
        return;
    emit nodeChosen(lvwThoSearch->currentItem()->text(2));
}
