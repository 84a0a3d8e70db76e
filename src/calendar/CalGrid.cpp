#include "calendar/CalGrid.h"

#include "controls/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <utility>

void CalGridModel::CellChanged(int row, int col) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i);
}

void CalGridModel::SetText(int row, int col, const QString& text) {
    cells_[Index(row, col)].text = text;
    CellChanged(row, col);
}

void CalGridModel::SetBackColor(int row, int col, const QColor& colour) {
    cells_[Index(row, col)].back = colour;
    CellChanged(row, col);
}

void CalGridModel::Clear() {
    for (Cell& c : cells_)
        c = Cell{};
    emit headerDataChanged(Qt::Horizontal, 0, kCols - 1);
    emit dataChanged(index(0, 0), index(kRows - 2, kCols - 1));
}

bool CalGridModel::Move(int row, int col) {
    if ((row == row_ && col == col_) || row < 0 || row >= kRows || col < 0 || col >= kCols)
        return true;
    refused_ = false;
    emit leaveCell();
    if (std::exchange(refused_, false))
        return false;
    row_ = row;
    col_ = col;
    emit currentMoved();
    emit enterCell();
    return true;
}

bool CalGridModel::SetRow(int row) {
    return Move(row, col_);
}

bool CalGridModel::SetCol(int col) {
    return Move(row_, col);
}

bool CalGridModel::MoveTo(int row, int col) {
    return SetRow(row) && SetCol(col);
}

bool CalGridModel::Jump(int row, int col) {
    return Move(row, col);
}

int CalGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows - 1;
}

int CalGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kCols;
}

QVariant CalGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Cell& cell = cells_[Index(index.row() + 1, index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::BackgroundRole:
        return cell.back.isValid() ? QVariant(cell.back) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant CalGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kCols)
        return {};
    if (role == Qt::DisplayRole)
        return Text(0, section);
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags CalGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

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
