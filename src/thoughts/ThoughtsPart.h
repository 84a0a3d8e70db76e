#pragma once

#include "controls/ImageList.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

struct TwipsSetting;

class QAction;
class QFrame;
class QMenu;
class QTreeWidgetItem;
class TabStrip;
class TextFinder;
class ThoughtNodeCommands;
class ThoughtNote;
class ThoughtTree;
class ThoughtsSearch;

// The Thoughts function: the tree of nodes on the left, the note and the search under their
// tabs on the right, the Thoughts menu and the tree's pop-up menu. It wires the tree, the
// note, the search and the node commands.
// The menu exists from the start; the controls are built when the function is first shown or
// used, so a start that only shows the calendar does not pay for them.
class ThoughtsPart : public QObject {
    Q_OBJECT
public:
    ThoughtsPart(QFrame* frame, QMenu* menu, TextFinder& finder);
    ~ThoughtsPart() override;

    // Builds the controls, once; the frame is to be shown next.
    void EnsureBuilt();
    // The set-up at the window's load; the menus work from then on.
    void BuildThoughtsTab();
    void RefreshThoughtsTree();
    int TraverseThoughtNode(const QString& parentName);
    bool SaveThought();
    void ShowThoughtsFind(bool show);
    // Whether the tree has been built since the window loaded.
    bool ThoughtsLoaded() const { return bThoughtsLoaded; }
    // Rows added to the tree by its last build.
    int CountedNodes() const { return ThoughtNodeCount; }
    // The sizes the window's resize rules set on the Thoughts' controls.
    void ApplySizes(const std::vector<TwipsSetting>& settings);
    // The note's top in twips: lower while its find frame is open. Builds the controls.
    int NoteTop();
    void ApplyToolTips(bool enable);

    void tvwThoughts_NodeClick(QTreeWidgetItem* node);
    void tabThoughts_Click(int index);
    void mnuRefreshThoughts_Click();
    // The node an import goes under, key and caption: the selected one, else the root.
    std::pair<QString, QString> ImportTarget() const;
    // Opens a search result: selects its node and shows it.
    void GoToNode(const QString& key);

    ThoughtsSearch& Search();

private:
    void SetUpTab();
    QFrame* frame_;
    bool built_ = false;
    bool setUp_ = false;
    bool toolTips_ = false;
    bool bThoughtsLoaded = false;
    int ThoughtNodeCount = 0;
    ImageList ilsThoughts;
    TabStrip* tabThoughts = nullptr;
    QWidget* fraThoughts2 = nullptr;
    QWidget* fraThoughtsSearch = nullptr;
    QMenu* mnuThoughtsMenu = nullptr;

    void BuildMenu(QMenu* menu);
    void BuildPopupMenu();

    ThoughtTree* tvwThoughts_ = nullptr;
    ThoughtNote* note_ = nullptr;
    ThoughtsSearch* search_ = nullptr;
    std::unique_ptr<ThoughtNodeCommands> commands_;
    TextFinder& finder_;
    QList<QAction*> actions_;
};
