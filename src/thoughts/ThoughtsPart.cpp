#include "thoughts/ThoughtsPart.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/TabStrip.h"
#include "controls/TextFinder.h"
#include "controls/Twips.h"
#include "store/ThoughtStore.h"
#include "thoughts/ThoughtNodeCommands.h"
#include "thoughts/ThoughtNote.h"
#include "thoughts/ThoughtTree.h"
#include "thoughts/ThoughtsSearch.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <vector>

namespace {
const QString kRoot = QStringLiteral("Thoughts");
enum Image { kCabinet = 1, kRootThought, kFolderClosed, kFolderOpen, kNode };

QAction* AddItem(QMenu* in, const char* name, const char* caption) {
    QAction* a = in->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
} // namespace

ThoughtsPart::ThoughtsPart(QFrame* frame, QMenu* menu, TextFinder& finder)
    : QObject(frame), frame_(frame), finder_(finder) {
    BuildMenu(menu);
}

ThoughtsPart::~ThoughtsPart() = default;

void ThoughtsPart::EnsureBuilt() {
    if (built_)
        return;
    built_ = true;
    QFrame* frame = frame_;
    ilsThoughts.Add(QStringLiteral("Cabinet"), GlyphIcon(Glyph::Cabinet, QColor(120, 110, 90)));
    ilsThoughts.Add(QStringLiteral("RootThought"), GlyphIcon(Glyph::Root, QColor(120, 110, 190)));
    ilsThoughts.Add(QStringLiteral("FolderClosed"),
                    GlyphIcon(Glyph::FolderClosed, QColor(210, 170, 60)));
    ilsThoughts.Add(QStringLiteral("FolderOpen"),
                    GlyphIcon(Glyph::FolderOpen, QColor(210, 170, 60)));
    ilsThoughts.Add(QStringLiteral("Node"), GlyphIcon(Glyph::Node, QColor(110, 110, 110)));
    ilsThoughts.Add(QStringLiteral("StickyNotesFolder"),
                    GlyphIcon(Glyph::NoteFolder, QColor(210, 170, 60)));
    ilsThoughts.Add(QStringLiteral("StickyNote"), GlyphIcon(Glyph::Note, QColor(200, 170, 40)));

    // The designed places, in twips inside the function frame.
    tvwThoughts_ = new ThoughtTree(ilsThoughts, frame);
    tvwThoughts_->setObjectName(QStringLiteral("tvwThoughts"));
    PlaceTwips(tvwThoughts_, {120, 960, 3975, 9315});
    tabThoughts = new TabStrip(frame, QStringLiteral("tabThoughts"), TabStrip::SizedByOwner);
    PlaceTwips(tabThoughts, {4140, 960, 9495, 9315});
    fraThoughts2 = tabThoughts->AddFrame(QStringLiteral("fraThoughts2"),
                                         QStringLiteral("Thought Information"));
    fraThoughtsSearch = tabThoughts->AddFrame(QStringLiteral("fraThoughtsSearch"),
                                              QStringLiteral("Search Thoughts"));
    for (QWidget* f : {fraThoughts2, fraThoughtsSearch})
        PlaceTwips(f, {120, 360, 9255, 8835});
    note_ = new ThoughtNote(fraThoughts2, finder_);
    search_ = new ThoughtsSearch(fraThoughtsSearch, *tvwThoughts_);
    commands_ = std::make_unique<ThoughtNodeCommands>(
        *tvwThoughts_, *note_,
        ThoughtNodeCommands::PartHooks{
            [this] { return SaveThought(); }, [this] { RefreshThoughtsTree(); },
            [this](QTreeWidgetItem* node) { tvwThoughts_NodeClick(node); },
            [this] { return ThoughtNodeCount; }});

    connect(tvwThoughts_, &ThoughtTree::nodeClicked, this, &ThoughtsPart::tvwThoughts_NodeClick);
    connect(tvwThoughts_, &ThoughtTree::validate, this, [this] { SaveThought(); });
    // A note that cannot be written keeps its node on screen, highlighted and current.
    tvwThoughts_->OnLeaveNode([this] { return SaveThought(); });
    tvwThoughts_->OnBeforeLabelEdit(
        [this](QTreeWidgetItem* node) { return commands_->tvwThoughts_BeforeLabelEdit(node); });
    tvwThoughts_->OnAfterLabelEdit([this](QTreeWidgetItem* node, const QString& text) {
        commands_->tvwThoughts_AfterLabelEdit(node, text);
    });
    // A tab chosen by the user, with the mouse or the keyboard, saves the note first.
    connect(tabThoughts, &TabStrip::tabChosen, this, &ThoughtsPart::tabThoughts_Click);
    connect(search_, &ThoughtsSearch::nodeChosen, this, &ThoughtsPart::GoToNode);
    connect(search_, &ThoughtsSearch::foundInNode, this,
            [this](const QString& what, bool caseSensitive) {
                tabThoughts->SelectKey(QStringLiteral("THOUGHT"));
                ShowThoughtsFind(true);
                finder_.FindText(QStringLiteral("F"), QString::number(gCurrentFunction), what,
                                 caseSensitive);
                note_->SetFindText(what);
            });
    BuildPopupMenu();
    ApplyToolTips(toolTips_);
    if (setUp_)
        SetUpTab();
}

void ThoughtsPart::BuildMenu(QMenu* menu) {
    // The menu works once the set-up has run; an item builds the controls it needs.
    auto add = [&](const char* name, const char* caption, auto handler) {
        QAction* a = AddItem(menu, name, caption);
        connect(a, &QAction::triggered, this, [this, handler] {
            EnsureBuilt();
            handler();
        });
        a->setEnabled(false);
        actions_ << a;
    };
    add("mnuRefreshThoughts", "Refresh Thoughts Tree", [this] { mnuRefreshThoughts_Click(); });
    add("mnuThoCountNodes", "Count Thought Nodes", [this] { commands_->mnuThoCountNodes_Click(); });
    add("mnuMaintClearThoughts", "Clear Thoughts...",
        [this] { commands_->mnuMaintClearThoughts_Click(); });
}

void ThoughtsPart::BuildPopupMenu() {
    auto add = [&](const char* name, const char* caption, auto handler) {
        connect(AddItem(mnuThoughtsMenu, name, caption), &QAction::triggered, this, handler);
    };
    mnuThoughtsMenu = new QMenu(QStringLiteral("ThoughtsMenu"), tvwThoughts_);
    mnuThoughtsMenu->setObjectName(QStringLiteral("mnuThoughtsMenu"));
    add("mnuNodeNew", "New Node", [this] { commands_->mnuNodeNew_Click(); });
    add("mnuNodeDelete", "Delete Node", [this] { commands_->mnuNodeDelete_Click(); });
    add("mnuNodeRename", "Rename Node", [this] { commands_->mnuNodeRename_Click(); });
    connect(tvwThoughts_, &ThoughtTree::popupRequested, mnuThoughtsMenu,
            [this](const QPoint& at) { mnuThoughtsMenu->popup(at); });
}

void ThoughtsPart::BuildThoughtsTab() {
    setUp_ = true;
    for (QAction* a : std::as_const(actions_))
        a->setEnabled(true);
    if (built_)
        SetUpTab();
}

void ThoughtsPart::SetUpTab() {
    tabThoughts->RemoveAll();
    tabThoughts->AddTab(QStringLiteral("Thought"), QStringLiteral("THOUGHT"),
                        PictureIcon(Picture::Thought));
    tabThoughts->AddTab(QStringLiteral("Search"), QStringLiteral("SEARCH"),
                        PictureIcon(Picture::Search));
    tabThoughts->setCurrentIndex(0);
    BringToFront(fraThoughts2);
    search_->ChooseNodeMode();
    ShowThoughtsFind(false);
}

bool ThoughtsPart::SaveThought() {
    // Nothing can have been typed in a note that was never built.
    return !built_ || note_->SaveThought();
}

void ThoughtsPart::ShowThoughtsFind(bool show) {
    EnsureBuilt();
    note_->ShowThoughtsFind(show);
}

ThoughtsSearch& ThoughtsPart::Search() {
    EnsureBuilt();
    return *search_;
}

void ThoughtsPart::ApplySizes(const std::vector<TwipsSetting>& settings) {
    EnsureBuilt();
    ApplyTwipsSettings({tvwThoughts_, tabThoughts, fraThoughts2, fraThoughtsSearch}, settings);
    note_->ApplySizes(settings);
    search_->ApplySizes(settings);
}

int ThoughtsPart::NoteTop() {
    EnsureBuilt();
    return note_->Top();
}

void ThoughtsPart::ApplyToolTips(bool enable) {
    toolTips_ = enable;
    if (built_)
        tvwThoughts_->setToolTip(enable ? QStringLiteral("Right-click for Node commands")
                                        : QString());
}

void ThoughtsPart::tabThoughts_Click(int) {
    SaveThought();
}

void ThoughtsPart::mnuRefreshThoughts_Click() {
    RefreshThoughtsTree();
}

void ThoughtsPart::RefreshThoughtsTree() {
    EnsureBuilt();
    // What was typed is written before the note box is emptied.
    if (!SaveThought())
        return;
    QTreeWidgetItem* root = nullptr;
    try {
        note_->BeginShowing(kRoot);
        note_->ClearPending();
        tvwThoughts_->ClearNodes();
        ThoughtNodeCount = 0;
        const QList<ThoughtStore::ThoughtRow> top = ThoughtStore::TopLevel();
        root = tvwThoughts_->AddDetachedRoot(kRoot, kRoot, kRootThought);
        for (const ThoughtStore::ThoughtRow& row : top) {
            ++ThoughtNodeCount;
            QTreeWidgetItem* node =
                tvwThoughts_->AddNode(root, row.name, row.caption, kFolderClosed, kFolderOpen);
            if (TraverseThoughtNode(row.name) == 0)
                tvwThoughts_->SetImages(node, kNode, kNode);
        }
        tvwThoughts_->ShowRoot(root);
        root->setExpanded(true);
        tvwThoughts_->SelectQuietly(root);
        note_->ShowRoot();
        bThoughtsLoaded = true;
        note_->ClearPending();
    } catch (const RuntimeError& e) {
        // The nodes added so far are shown.
        if (root && !root->treeWidget())
            tvwThoughts_->ShowRoot(root);
        ShowError(QStringLiteral("Error while Building Thoughts Tree!"), QStringLiteral("Error!"),
                  e);
    }
}

// Depth first, a node before its descendants, with a stack of its own rather than the
// program's: a chain of ten thousand levels must not exhaust the call stack.
int ThoughtsPart::TraverseThoughtNode(const QString& parentName) {
    EnsureBuilt();
    struct Level {
        QTreeWidgetItem* parent;
        QList<ThoughtStore::ThoughtRow> rows;
        qsizetype next = 0;
        int added = 0;
    };
    std::vector<Level> stack;
    // The children of a node, or false when they could not be read (reported).
    auto open = [&](QTreeWidgetItem* parent) {
        try {
            stack.push_back({parent, ThoughtStore::ChildrenOf(ThoughtTree::Key(parent))});
            return true;
        } catch (const RuntimeError& e) {
            ShowError(QStringLiteral("Error while Traversing Thought Nodes!"),
                      QStringLiteral("Error!"), e);
            return false;
        }
    };
    QTreeWidgetItem* top = tvwThoughts_->Node(parentName);
    if (!top || !open(top))
        return 0;
    for (;;) {
        Level& level = stack.back();
        if (level.next == level.rows.size()) {
            const int added = level.added;
            QTreeWidgetItem* parent = level.parent;
            stack.pop_back();
            if (stack.empty())
                return added;
            if (added == 0)
                tvwThoughts_->SetImages(parent, kNode, kNode);
            ++stack.back().added;
            continue;
        }
        const ThoughtStore::ThoughtRow& row = level.rows[level.next++];
        ++ThoughtNodeCount;
        QTreeWidgetItem* node = nullptr;
        try {
            node = tvwThoughts_->AddNode(level.parent, row.name, row.caption, kFolderClosed,
                                         kFolderOpen);
        } catch (const RuntimeError& e) {
            // A node that cannot be added ends its level.
            ShowError(QStringLiteral("Error while Traversing Thought Nodes!"),
                      QStringLiteral("Error!"), e);
            level.next = level.rows.size();
            continue;
        }
        if (!open(node)) {
            tvwThoughts_->SetImages(node, kNode, kNode);
            ++stack.back().added;
        }
    }
}

std::pair<QString, QString> ThoughtsPart::ImportTarget() const {
    if (tvwThoughts_)
        if (const QTreeWidgetItem* node = tvwThoughts_->currentItem())
            return {ThoughtTree::Key(node), node->text(0)};
    return {kRoot, kRoot};
}

void ThoughtsPart::tvwThoughts_NodeClick(QTreeWidgetItem* node) {
    EnsureBuilt();
    // Whoever moved the current node has saved already; a click on the shown node saves here.
    if (!SaveThought()) {
        if (QTreeWidgetItem* shown = tvwThoughts_->Node(note_->ShownKey()))
            tvwThoughts_->SelectQuietly(shown);
        return;
    }
    try {
        ShowThoughtsFind(false);
        note_->BeginShowing(ThoughtTree::Key(node));
        if (ThoughtTree::Key(node) == kRoot)
            note_->ShowRoot();
        else
            note_->ShowNode(node);
        tabThoughts->SelectKey(QStringLiteral("THOUGHT"));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while Saving Thought!"), QStringLiteral("Error!"), e);
        // The note is unknown: an empty box must not be written over it.
        note_->SetLoadFailed();
    }
}

void ThoughtsPart::GoToNode(const QString& key) {
    EnsureBuilt();
    QTreeWidgetItem* node = tvwThoughts_->Node(key);
    if (!node) {
        ShowError(
            QStringLiteral("Error while getting to node!"), QStringLiteral("Node Error!"),
            RuntimeError(35601, QStringLiteral("Element not found"), QStringLiteral("TreeView")));
        return;
    }
    // The note being left is written before the node it belonged to stops being current.
    if (!SaveThought())
        return;
    tvwThoughts_->SelectQuietly(node);
    tvwThoughts_NodeClick(node);
    node->setExpanded(true);
}
