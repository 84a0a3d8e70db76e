#include "calendar/CalGridView.h"

#include "controls/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
constexpr int kCellWidth = TwipsToPixels(600);
constexpr int kCellHeight = TwipsToPixels(650);

// A cell keeps its own back colour whatever the style makes of the current item: the focus
// shows as a frame inside the cell, never blended over the yellow of the current day.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_MouseOver);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_HasFocus))
            return;
        painter->save();
        QPen pen(option.palette.color(QPalette::WindowText), 1, Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }
};
} // namespace

CalGridView::CalGridView(QWidget* parent) : QTableView(parent), model_(new CalGridModel(this)) {
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    verticalHeader()->hide();
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(kCellWidth);
    header->setDefaultSectionSize(kCellWidth);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFixedHeight(kCellHeight);
    verticalHeader()->setMinimumSectionSize(kCellHeight);
    verticalHeader()->setDefaultSectionSize(kCellHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setFixedSize(sizeHint());

    connect(model_, &CalGridModel::currentMoved, this, &CalGridView::ShowCurrent);
    // Only the model moves the current cell; anything else that tries is put right.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShowCurrent(); });
    ShowCurrent();
}

QSize CalGridView::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {kCellWidth * CalGridModel::kCols + frame, kCellHeight * CalGridModel::kRows + frame};
}

QRect CalGridView::CellRect(int row, int col) const {
    return visualRect(model_->index(row - 1, col));
}

void CalGridView::ShowCurrent() {
    if (syncing_)
        return;
    syncing_ = true;
    const QModelIndex wanted =
        model_->Row() >= 1 ? model_->index(model_->Row() - 1, model_->Col()) : QModelIndex();
    if (selectionModel()->currentIndex() != wanted)
        selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
    syncing_ = false;
}

void CalGridView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid())
        model_->Jump(at.row() + 1, at.column());
    event->accept();
}

void CalGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CalGridView::keyPressEvent(QKeyEvent* event) {
    int row = model_->Row(), col = model_->Col();
    switch (event->key()) {
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        event->ignore();
        return;
    }
    // The header row is fixed: it cannot be reached.
    if (row >= 1 && row < CalGridModel::kRows && col >= 0 && col < CalGridModel::kCols)
        model_->MoveTo(row, col);
    event->accept();
}
