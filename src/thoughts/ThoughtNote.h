#pragma once

#include <QObject>
#include <QString>
#include <vector>

struct TwipsSetting;

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class IdleSaver;
class QPushButton;
class QTreeWidgetItem;
class TextFinder;

// The note of the selected node in the frame fraThoughts2: its location, the find frame and
// the note box. Edits are written by SaveThought at the moments the function chooses, to the
// node on which they were made.
class ThoughtNote : public QObject {
    Q_OBJECT
public:
    ThoughtNote(QWidget* frame, TextFinder& finder);

    // Writes the pending note; false when the write failed (reported, still pending).
    bool SaveThought();
    void ShowThoughtsFind(bool show);
    // The root has no note: the box is empty, disabled and grey.
    void ShowRoot();
    // Loads a node's note and location; throws the engine's error for the caller to report.
    void ShowNode(const QTreeWidgetItem* node);
    // The box now holds the note of this node, emptied for it: the empty note is pending
    // under its key, and whatever is typed next belongs to it.
    void BeginShowing(const QString& key);
    // Empties the box, which makes the shown node's note pending.
    void ClearNote();
    // The node's row is gone: a note pending for it has nowhere to go.
    void Forget(const QString& key);
    // The node whose note the box holds.
    QString ShownKey() const { return shownKey_; }
    void SetLocation(const QString& location);

    // Nothing is pending any more.
    void ClearPending() { PendingThoughtKey.clear(); }
    // The note could not be read: nothing is pending and the box is read-only, so an empty
    // box can never be written over the stored note.
    void SetLoadFailed();
    // The find frame's text, so that its button goes on from a match found elsewhere.
    void SetFindText(const QString& text);
    // The note's top in twips: lower while the find frame is open.
    int Top() const;
    void ApplySizes(const std::vector<TwipsSetting>& settings);

    void cmdFindNext_Click();

private:
    QString PendingThoughtKey;
    QLineEdit* txtThoughtNodeLocation = nullptr;
    QGroupBox* fraThoFindThisNode = nullptr;
    QLineEdit* txtThoFind = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QCheckBox* chkThoFindCaseSensitive = nullptr;
    QPushButton* cmdThoFindClose = nullptr;
    QPlainTextEdit* rtfThoughts = nullptr;

    TextFinder& finder_;
    IdleSaver* saver_ = nullptr;
    bool loading_ = false; // text set by the program, not typed
    QString shownKey_;
};

// "thoughts://" and the captions from the top-level ancestor down to the node.
QString LocationOf(const QTreeWidgetItem* node);
