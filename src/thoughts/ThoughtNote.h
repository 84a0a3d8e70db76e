#pragma once

#include <QObject>
#include <QString>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class IdleSaver;
class QPushButton;
class QTreeWidgetItem;
class TextFinder;
class ThoughtTree;

// The note of the selected node in the frame fraThoughts2: its location, the find frame and
// the note box. Edits are written by SaveThought at the moments the function chooses, to the
// node on which they were made.
class ThoughtNote : public QObject {
    Q_OBJECT
public:
    ThoughtNote(QWidget* frame, const ThoughtTree& tree, TextFinder& finder);

    // Writes the pending note; false when the write failed (reported, still pending).
    bool SaveThought();
    void ShowThoughtsFind(bool show);
    // The root has no note: the box is empty, disabled and grey.
    void ShowRoot();
    // Loads a node's note and location; throws the engine's error for the caller to report.
    void ShowNode(const QTreeWidgetItem* node);
    // Empties the box, which makes the selected node's note pending.
    void ClearNote();
    void SetLocation(const QString& location);

    void cmdFindNext_Click();

    QString PendingThoughtKey;

    QLineEdit* txtThoughtNodeLocation = nullptr;
    QFrame* fraThoFindThisNode = nullptr;
    QLineEdit* txtThoFind = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QCheckBox* chkThoFindCaseSensitive = nullptr;
    QPushButton* cmdThoFindClose = nullptr;
    QPlainTextEdit* rtfThoughts = nullptr;

private:
    const ThoughtTree& tree_;
    TextFinder& finder_;
    IdleSaver* saver_ = nullptr;
    bool loading_ = false; // text set by the program, not typed
};

// "thoughts://" and the captions from the top-level ancestor down to the node.
QString LocationOf(const QTreeWidgetItem* node);
