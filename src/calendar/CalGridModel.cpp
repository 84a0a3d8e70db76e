#include "calendar/CalGridModel.h"

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
