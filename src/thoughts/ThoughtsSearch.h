#pragma once

#include <QObject>
#include <QString>
#include <vector>

struct TwipsSetting;

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class ThoughtTree;

// The frame fraThoughtsSearch: searches every note and caption, listing the nodes found, or
// the selected node's note only, handing the match to the note's find.
class ThoughtsSearch : public QObject {
    Q_OBJECT
public:
    ThoughtsSearch(QWidget* frame, const ThoughtTree& tree);

    // The mode the set-up chooses: only the selected node.
    void ChooseNodeMode();
    // The sizes the window's resize rules set on the results list.
    void ApplySizes(const std::vector<TwipsSetting>& settings);
    void cmdThoSearch_Click();
    void cmdSearchClear_Click();
    void lvwThoSearch_ColumnClick(int column);
    void lvwThoSearch_DblClick();

signals:
    // A result was opened: the node with this key.
    void nodeChosen(const QString& key);
    // The selected node's note holds the text: show it there, found.
    void foundInNode(const QString& what, bool caseSensitive);

private:
    QLineEdit* txtThoSearch = nullptr;
    QRadioButton* optThoSearchAll = nullptr;
    QRadioButton* optThoSearchNode = nullptr;
    QCheckBox* chkThoCaseSensitive = nullptr;
    QPushButton* cmdThoSearch = nullptr;
    QPushButton* cmdSearchClear = nullptr;
    QTreeWidget* lvwThoSearch = nullptr;
    QLabel* lblFound = nullptr;

    void SearchAll(const QString& text, int& hits);
    void SearchNode(const QString& text);

    const ThoughtTree& tree_;
    bool descending_ = false; // one order for the whole list, flipped by every header click
};
