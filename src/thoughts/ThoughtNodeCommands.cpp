#include "thoughts/ThoughtNodeCommands.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "controls/BackupGuard.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "store/ThoughtStore.h"
#include "thoughts/ThoughtNote.h"
#include "thoughts/ThoughtTree.h"

#include <vector>

namespace {

const QString kRoot = QStringLiteral("Thoughts");
enum Image { kFolderClosed = 3, kFolderOpen = 4, kNode = 5 };
constexpr int kMaxAttempts = 99;

QString Suffix(int counter) {
    return QLatin1Char('.') + QString::number(counter).rightJustified(2, QLatin1Char('0'));
}

} // namespace

ThoughtNodeCommands::ThoughtNodeCommands(ThoughtTree& tree, ThoughtNote& note, PartHooks hooks)
    : tree_(tree), note_(note), part_(std::move(hooks)) {}

QTreeWidgetItem* ThoughtNodeCommands::AddNewNode(QTreeWidgetItem* parent) {
    const QDateTime now = Clock::Now();
    QString name =
        VbFormat(VbDateTime{now.date(), now.time(), true, true}, QStringLiteral("yyyymmddHhnnss"));
    int counter = 0;
    while (tree_.Node(name))
        name += Suffix(++counter);
    QTreeWidgetItem* node = tree_.AddNode(parent, name, QStringLiteral("New Node"), kNode);
    parent->setExpanded(true);
    // A name the table already holds (a row the tree does not show) is extended as a name the
    // tree holds would be, so that a node never stands in the tree without its row.
    for (int attempt = 0;; ++attempt) {
        try {
            ThoughtStore::Add(name, ThoughtTree::Key(parent));
            return node;
        } catch (const RuntimeError& e) {
            if (e.Kind() != ErrorKind::Constraint || attempt == kMaxAttempts) {
                tree_.RemoveNode(node);
                throw;
            }
        }
        do
            name += Suffix(++counter);
        while (tree_.Node(name));
        tree_.Rekey(node, name);
    }
}

void ThoughtNodeCommands::mnuNodeNew_Click() {
    QTreeWidgetItem* selected = tree_.currentItem();
    // The note being typed is written before the box is emptied for the new node.
    if (!selected || !part_.saveThought())
        return;
    const int image = ThoughtTree::Image(selected);
    const int selectedImage = ThoughtTree::SelectedImage(selected);
    try {
        if (selected->text(0) != kRoot)
            tree_.SetImages(selected, kFolderClosed, kFolderOpen);
        QTreeWidgetItem* node = nullptr;
        try {
            node = AddNewNode(selected);
        } catch (...) {
            tree_.SetImages(selected, image, selectedImage);
            throw;
        }
        tree_.SelectQuietly(node);
        note_.BeginShowing(ThoughtTree::Key(node));
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while adding node!"), QStringLiteral("Error!"), e);
    }
}

void ThoughtNodeCommands::mnuNodeDelete_Click() {
    QTreeWidgetItem* node = tree_.currentItem();
    if (!node)
        return;
    const QString key = ThoughtTree::Key(node);
    if (key == kRoot) {
        MsgBox(QStringLiteral("Cannot delete Thoughts!"));
        return;
    }
    try {
        if (!ThoughtStore::HasChildren(key)) {
            QTreeWidgetItem* parent = node->parent();
            if (parent->childCount() == 1 && ThoughtTree::Key(parent) != kRoot)
                tree_.SetImages(parent, kNode, kNode);
            ThoughtStore::Delete(key);
            // The note typed for the deleted node has no row to go to; the parent is shown
            // before the node goes, so the box never holds one node's text under another.
            note_.Forget(key);
            tree_.SelectQuietly(parent);
            part_.nodeClick(parent);
            tree_.RemoveNode(node);
            return;
        }
        if (MsgBox(QStringLiteral("There are child nodes dependent on this node.  Are you sure you "
                                  "want to delete this node and all its dependents?"),
                   MsgButtons::YesNo, MsgIcon::None,
                   QStringLiteral("Delete Node?")) == MsgResult::Yes) {
            if (!BackUpBeforeRemoving(Backups::Reason::DeleteNode, tree_.window()))
                return;
            DeleteThoughtNode(key);
            MsgBox(QStringLiteral("Done!"));
            part_.refreshTree();
        }
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while deleting node!"), QStringLiteral("Error!"), e);
    }
}

// Deepest first: each child is acknowledged, its own descendants deleted, then its row; a
// node's row goes only once none of its children remains. A stack of its own keeps a deep
// tree off the program's call stack.
void ThoughtNodeCommands::DeleteThoughtNode(const QString& name) {
    struct Level {
        QString name;
        QList<ThoughtStore::ThoughtRow> children;
        qsizetype next = 0;
    };
    const auto children = &ThoughtStore::ChildrenToDelete;
    auto failed = [](const RuntimeError& e) {
        ShowError(QStringLiteral("Error while Deleting Thought Node!"), QStringLiteral("Error!"),
                  e);
    };
    std::vector<Level> stack;
    try {
        stack.push_back({name, children(name)});
    } catch (const RuntimeError& e) {
        failed(e);
        return;
    }
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next < level.children.size()) {
            const ThoughtStore::ThoughtRow child = level.children[level.next++];
            MsgBox(QStringLiteral("Deleting ") + child.caption + QStringLiteral("!"));
            try {
                stack.push_back({child.name, children(child.name)});
            } catch (const RuntimeError& e) {
                failed(e);
            }
            continue;
        }
        const QString done = level.name;
        stack.pop_back();
        try {
            if (children(done).isEmpty()) {
                ThoughtStore::Delete(done);
            } else {
                MsgBox(QStringLiteral("Hey!  Should have been gone already! Exiting!"));
            }
        } catch (const RuntimeError& e) {
            failed(e);
        }
    }
}

void ThoughtNodeCommands::mnuNodeRename_Click() {
    QTreeWidgetItem* node = tree_.currentItem();
    if (!node)
        return;
    if (node->text(0) == kRoot) {
        MsgBox(QStringLiteral("Cannot rename Thoughts!  Email me your idea instead! :)"));
        return;
    }
    const QString answer = InputBox(QStringLiteral("Please input the new name for the node."),
                                    QStringLiteral("Rename Node ") + node->text(0), QString());
    if (TrimSpaces(answer).isEmpty())
        return;
    Rename(node, answer, &ThoughtStore::RenameByDialog);
}

bool ThoughtNodeCommands::tvwThoughts_BeforeLabelEdit(QTreeWidgetItem* node) {
    if (node->text(0) == kRoot) {
        MsgBox(QStringLiteral("Cannot rename Root Node!"));
        return false;
    }
    return true;
}

void ThoughtNodeCommands::tvwThoughts_AfterLabelEdit(QTreeWidgetItem* node,
                                                     const QString& newText) {
    Rename(node, newText, &ThoughtStore::RenameInPlace);
}

// The tree shows the text as typed; the table keeps it trimmed. A caption that could not be
// written goes back to what it was.
void ThoughtNodeCommands::Rename(QTreeWidgetItem* node, const QString& newText,
                                 RenameStatement write) {
    const QString before = node->text(0);
    try {
        node->setText(0, newText);
        write(ThoughtTree::Key(node), newText);
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while adding node!"), QStringLiteral("Error!"), e);
        node->setText(0, before);
    }
}

void ThoughtNodeCommands::mnuThoCountNodes_Click() {
    try {
        if (const std::optional<QString> stored = ThoughtStore::Count()) {
            const QString& counted = *stored;
            QStringList lines{QStringLiteral("There are currently: "),
                              counted + QStringLiteral(" database Thought nodes; and "),
                              QString::number(part_.countedNodes()) +
                                  QStringLiteral(" counted Thought nodes in the current tree!")};
            if (counted.toLongLong() != part_.countedNodes())
                lines << QString() << QStringLiteral("Hmm... looks like we have a discrepancy.  ")
                      << QStringLiteral("Try refreshing the Thoughts Tree.  ")
                      << QStringLiteral("If it persists, please e-mail me at %1.")
                             .arg(QString::fromLatin1(kAuthorMail));
            MsgBox(lines.join(QStringLiteral("\r\n")));
        }
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while counting Thought nodes!"), QStringLiteral("Error!"),
                  e);
    }
}

void ThoughtNodeCommands::mnuMaintClearThoughts_Click() {
    Beep();
    if (MsgBox(QStringLiteral("This will erase all the data you have stored in Thoughts!  \r\nYou "
                              "will not be able to recover these data.  Are you absolutely \r\n"
                              "sure you want to do this?"),
               MsgButtons::YesNo, MsgIcon::Critical,
               QStringLiteral("Clear Thoughts?")) != MsgResult::Yes)
        return;
    if (!BackUpBeforeRemoving(Backups::Reason::ClearThoughts, tree_.window()))
        return;
    try {
        ThoughtStore::Clear();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while clearing Thoughts!"), QStringLiteral("Error!"), e);
        return;
    }
    MsgBox(QStringLiteral("The clearing is successfully completed.  Here's hoping you know what "
                          "you're doing..."));
    part_.refreshTree();
}
