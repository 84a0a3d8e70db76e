#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <array>

// The month grid: cells with texts and back colours and one current cell. Row 0 is the fixed
// header row; rows 1 to 6 hold the weeks. Moving the current cell, by code or by the user,
// reports the cell being left and then the cell entered.
//
// As an item model it offers the weeks as six rows of seven cells and row 0 as the column
// headers, so views, screen readers and automation see the day numbers.
class CalGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kRows = 7;
    static constexpr int kCols = 7;

    using QAbstractTableModel::QAbstractTableModel;

    QString Text(int row, int col) const { return cells_[Index(row, col)].text; }
    void SetText(int row, int col, const QString& text);
    QColor BackColor(int row, int col) const { return cells_[Index(row, col)].back; }
    void SetBackColor(int row, int col, const QColor& colour);
    // Empties every cell's text and back colour.
    void Clear();

    int Row() const { return row_; }
    int Col() const { return col_; }
    // Each change of row or column is one move: leave, change, enter. False when the leave
    // handler refused the move (the cell being left could not be saved): nothing moved.
    bool SetRow(int row);
    bool SetCol(int col);
    bool MoveTo(int row, int col);
    // A click: one move straight to the cell, whatever its row and column.
    bool Jump(int row, int col);
    // Called by a leave handler that must keep the current cell.
    void RefuseMove() { refused_ = true; }

    QString CurrentText() const { return Text(row_, col_); }
    // Runs the enter notification for the current cell without moving it.
    void Reenter() { emit enterCell(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void leaveCell();
    void enterCell();
    void currentMoved();

private:
    struct Cell {
        QString text;
        QColor back; // invalid: the normal colour
    };
    static size_t Index(int row, int col) { return static_cast<size_t>(row * kCols + col); }
    void CellChanged(int row, int col);
    bool Move(int row, int col);

    std::array<Cell, kRows * kCols> cells_{};
    int row_ = 1;
    int col_ = 0;
    bool refused_ = false;
};
