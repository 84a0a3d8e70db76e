#include "thoughts/ThoughtTree.h"

#include "common/RuntimeError.h"
#include "controls/ImageList.h"

#include <QContextMenuEvent>
#include <QIconEngine>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

// Hands an edited label to the tree's after-edit step instead of writing it straight in.
class LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(ThoughtTree& tree) : QStyledItemDelegate(&tree), tree_(tree) {}

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* node = tree_.itemFromIndex(index);
        if (line && node)
            tree_.CommitLabelEdit(node, line->text());
    }

private:
    ThoughtTree& tree_;
};

// A node's picture: its image, and its selected image while it is selected.
class PairEngine : public QIconEngine {
public:
    PairEngine(QIcon normal, QIcon selected)
        : normal_(std::move(normal)), selected_(std::move(selected)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        (mode == QIcon::Selected ? selected_ : normal_)
            .paint(painter, rect, Qt::AlignCenter, QIcon::Normal, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return (mode == QIcon::Selected ? selected_ : normal_).pixmap(size, QIcon::Normal, state);
    }
    QIconEngine* clone() const override { return new PairEngine(normal_, selected_); }

private:
    QIcon normal_;
    QIcon selected_;
};

// Asks the tree before the current node changes. A refused change also refuses the selection
// that the same press or key would make, so what is highlighted stays what is current.
class GuardedSelection : public QItemSelectionModel {
public:
    GuardedSelection(QAbstractItemModel* model, const ThoughtTree& tree)
        : QItemSelectionModel(model), tree_(tree) {}

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
        refused_ = index != currentIndex() && !tree_.MayLeave();
        if (!refused_)
            QItemSelectionModel::setCurrentIndex(index, command);
    }
    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override {
        if (!refused_)
            QItemSelectionModel::select(selection, command);
    }
    // A new press or key starts afresh.
    void Reset() { refused_ = false; }

private:
    const ThoughtTree& tree_;
    bool refused_ = false;
};

} // namespace

ThoughtTree::ThoughtTree(const ImageList& images, QWidget* parent)
    : QTreeWidget(parent), images_(images) {
    QItemSelectionModel* standard = selectionModel();
    auto* guarded = new GuardedSelection(model(), *this);
    guarded->setParent(this);
    setSelectionModel(guarded);
    delete standard;
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new LabelDelegate(*this));
    // The tree widget announces its current item from the model it made itself; the guarded
    // one announces it here.
    connect(guarded, &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& now) {
        if (QTreeWidgetItem* current = itemFromIndex(now); !quiet_ && current)
            emit nodeClicked(current);
    });
}

QString ThoughtTree::Key(const QTreeWidgetItem* node) {
    return node ? node->data(0, kKeyRole).toString() : QString();
}

int ThoughtTree::Image(const QTreeWidgetItem* node) {
    return node->data(0, kImageRole).toInt();
}

int ThoughtTree::SelectedImage(const QTreeWidgetItem* node) {
    return node->data(0, kSelectedImageRole).toInt();
}

void ThoughtTree::SetImages(QTreeWidgetItem* node, int image, int selectedImage) {
    node->setData(0, kImageRole, image);
    node->setData(0, kSelectedImageRole, selectedImage);
    const int pair = image * 100 + selectedImage;
    auto icon = icons_.constFind(pair);
    if (icon == icons_.constEnd()) {
        const QIcon normal = images_.Icon(image);
        icon =
            icons_.insert(pair, selectedImage == kNoImage || selectedImage == image
                                    ? normal
                                    : QIcon(new PairEngine(normal, images_.Icon(selectedImage))));
    }
    node->setIcon(0, *icon);
}

namespace {
RuntimeError KeyTaken() {
    return RuntimeError(35602, QStringLiteral("Key is not unique in collection"),
                        QStringLiteral("TreeView"));
}
} // namespace

QTreeWidgetItem* ThoughtTree::NewNode(const QString& key, const QString& text, int image,
                                      int selectedImage) {
    if (keys_.contains(key))
        throw KeyTaken();
    auto* node = new QTreeWidgetItem;
    node->setText(0, text);
    node->setData(0, kKeyRole, key);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    SetImages(node, image, selectedImage);
    keys_.insert(key, node);
    return node;
}

QTreeWidgetItem* ThoughtTree::AddDetachedRoot(const QString& key, const QString& text, int image) {
    return NewNode(key, text, image, kNoImage);
}

void ThoughtTree::ShowRoot(QTreeWidgetItem* root) {
    addTopLevelItem(root);
}

QTreeWidgetItem* ThoughtTree::AddNode(QTreeWidgetItem* parent, const QString& key,
                                      const QString& text, int image, int selectedImage) {
    QTreeWidgetItem* node = NewNode(key, text, image, selectedImage);
    if (parent)
        parent->addChild(node);
    else
        addTopLevelItem(node);
    return node;
}

void ThoughtTree::RemoveNode(QTreeWidgetItem* node) {
    // The node's descendants go with it, and so do their keys.
    QList<QTreeWidgetItem*> pending{node};
    while (!pending.isEmpty()) {
        QTreeWidgetItem* n = pending.takeLast();
        keys_.remove(Key(n));
        for (int i = 0; i < n->childCount(); ++i)
            pending << n->child(i);
    }
    quiet_ = true;
    delete node;
    quiet_ = false;
}

void ThoughtTree::Rekey(QTreeWidgetItem* node, const QString& key) {
    if (keys_.contains(key))
        throw KeyTaken();
    keys_.remove(Key(node));
    node->setData(0, kKeyRole, key);
    keys_.insert(key, node);
}

void ThoughtTree::ClearNodes() {
    quiet_ = true;
    clear();
    quiet_ = false;
    keys_.clear();
}

bool ThoughtTree::MayLeave() const {
    return quiet_ || !leaveNode_ || leaveNode_();
}

void ThoughtTree::SelectQuietly(QTreeWidgetItem* node) {
    quiet_ = true;
    setCurrentItem(node);
    quiet_ = false;
}

bool ThoughtTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger & editTriggers()) {
        QTreeWidgetItem* node = itemFromIndex(index);
        if (node && beforeLabelEdit_ && !beforeLabelEdit_(node))
            return false;
    }
    return QTreeWidget::edit(index, trigger, event);
}

bool ThoughtTree::viewportEvent(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            if (type == QEvent::MouseButtonRelease)
                emit popupRequested(mouse->globalPosition().toPoint());
            return true; // the right button selects nothing
        }
    }
    if (type != QEvent::MouseButtonPress)
        return QTreeWidget::viewportEvent(event);
    static_cast<GuardedSelection*>(selectionModel())->Reset();
    // A click on the current node's label is a node click too, though nothing changes; a click
    // on another node raises it through the change of the current node.
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    QTreeWidgetItem* before = currentItem();
    const bool onCurrent = before && visualItemRect(before).contains(at);
    const bool handled = QTreeWidget::viewportEvent(event);
    const bool left = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (onCurrent && left && currentItem() == before)
        emit nodeClicked(before);
    return handled;
}

void ThoughtTree::keyPressEvent(QKeyEvent* event) {
    static_cast<GuardedSelection*>(selectionModel())->Reset();
    QTreeWidget::keyPressEvent(event);
}

void ThoughtTree::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's menu comes with the button's release; the keyboard's comes here.
    if (event->reason() != QContextMenuEvent::Mouse) {
        const QRect at = visualItemRect(currentItem());
        emit popupRequested(viewport()->mapToGlobal(at.isValid() ? at.center() : QPoint()));
    }
    event->accept();
}

void ThoughtTree::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    const Qt::FocusReason why = event->reason();
    if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason || why == Qt::MouseFocusReason ||
        why == Qt::ShortcutFocusReason || why == Qt::OtherFocusReason)
        emit validate();
}
