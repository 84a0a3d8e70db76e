#pragma once

#include <QHash>
#include <QTreeWidget>
#include <functional>

class ImageList;

// The tree view tvwThoughts: nodes carry unique keys and images by index into ilsThoughts,
// a label can be edited in place with a step before and after, and the pop-up menu belongs
// to the right button's release (or the keyboard's menu key), never to its press, so a
// right click selects nothing.
class ThoughtTree : public QTreeWidget {
    Q_OBJECT
public:
    ThoughtTree(const ImageList& images, QWidget* parent);

    static constexpr int kNoImage = 0;

    // Adds a node under parent (none: a top-level node); throws when the key is taken. A node
    // under a parent that is not yet in the tree costs no updates of the view: a whole tree
    // is built under a detached root and shown with ShowRoot.
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& key, const QString& text,
                             int image, int selectedImage = kNoImage);
    QTreeWidgetItem* AddDetachedRoot(const QString& key, const QString& text, int image);
    void ShowRoot(QTreeWidgetItem* root);
    void RemoveNode(QTreeWidgetItem* node);
    // Gives a node another key; throws when the key is taken.
    void Rekey(QTreeWidgetItem* node, const QString& key);
    void ClearNodes();
    QTreeWidgetItem* Node(const QString& key) const { return keys_.value(key); }
    static QString Key(const QTreeWidgetItem* node);
    void SetImages(QTreeWidgetItem* node, int image, int selectedImage);
    static int Image(const QTreeWidgetItem* node);
    static int SelectedImage(const QTreeWidgetItem* node);
    // Selects a node without running the node selection.
    void SelectQuietly(QTreeWidgetItem* node);

    // Run before the user moves to another node; false keeps the current node (the note
    // being left could not be saved), highlight and all.
    void OnLeaveNode(std::function<bool()> leave) { leaveNode_ = std::move(leave); }
    // Run before an in-place edit starts; false refuses it.
    void OnBeforeLabelEdit(std::function<bool(QTreeWidgetItem*)> before) {
        beforeLabelEdit_ = std::move(before);
    }
    // Run with the edited text when the edit is committed (Escape commits nothing).
    void OnAfterLabelEdit(std::function<void(QTreeWidgetItem*, const QString&)> after) {
        afterLabelEdit_ = std::move(after);
    }
    void CommitLabelEdit(QTreeWidgetItem* node, const QString& text) const {
        if (afterLabelEdit_)
            afterLabelEdit_(node, text);
    }

    // Whether the current node may change now: code always may, the user when the node
    // being left lets go.
    bool MayLeave() const;

signals:
    // The user chose a node: a move with the keyboard, or a click on a node, the current one
    // included. Code that selects a node does not raise it.
    void nodeClicked(QTreeWidgetItem* node);
    void popupRequested(const QPoint& globalPos);
    // Focus went from the tree to another control of the window.
    void validate();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A node under its key, not yet placed; a key already in the tree raises its error.
    QTreeWidgetItem* NewNode(const QString& key, const QString& text, int image, int selectedImage);

    std::function<bool()> leaveNode_;
    std::function<bool(QTreeWidgetItem*)> beforeLabelEdit_;
    std::function<void(QTreeWidgetItem*, const QString&)> afterLabelEdit_;
    const ImageList& images_;
    QHash<QString, QTreeWidgetItem*> keys_;
    QHash<int, QIcon> icons_; // by image and selected image, shared by the nodes
    bool quiet_ = false;
};
