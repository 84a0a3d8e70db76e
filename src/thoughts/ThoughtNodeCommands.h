#pragma once

#include <QString>
#include <functional>

class QTreeWidgetItem;
class ThoughtNote;
class ThoughtTree;

// The node commands of the Thoughts function: new, delete, rename, count and clear. The part
// that owns the tree lends it, the note and what only the part can do.
class ThoughtNodeCommands {
public:
    struct PartHooks {
        std::function<bool()> saveThought;
        std::function<void()> refreshTree;
        std::function<void(QTreeWidgetItem*)> nodeClick;
        std::function<int()> countedNodes;
    };
    ThoughtNodeCommands(ThoughtTree& tree, ThoughtNote& note, PartHooks hooks);

    void mnuNodeNew_Click();
    void mnuNodeDelete_Click();
    void DeleteThoughtNode(const QString& name);
    void mnuNodeRename_Click();
    bool tvwThoughts_BeforeLabelEdit(QTreeWidgetItem* node);
    void tvwThoughts_AfterLabelEdit(QTreeWidgetItem* node, const QString& newText);
    void mnuThoCountNodes_Click();
    void mnuMaintClearThoughts_Click();

private:
    QTreeWidgetItem* AddNewNode(QTreeWidgetItem* parent);
    // Shows the caption as typed and stores it with the rename's own statement; a caption that
    // could not be written goes back to what it was.
    using RenameStatement = void (*)(const QString& key, const QString& caption);
    void Rename(QTreeWidgetItem* node, const QString& newText, RenameStatement write);

    ThoughtTree& tree_;
    ThoughtNote& note_;
    PartHooks part_;
};
