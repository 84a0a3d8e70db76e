#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QWidget>
#include <array>

// The month grid: cells with texts and back colours and one current cell. Moving the current
// cell, by code or by the user, reports the cell being left and then the cell entered.
class CalGridModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 7;
    static constexpr int kCols = 7;

    QString Text(int row, int col) const { return cells_[Index(row, col)].text; }
    void SetText(int row, int col, const QString& text);
    QColor BackColor(int row, int col) const { return cells_[Index(row, col)].back; }
    void SetBackColor(int row, int col, const QColor& colour);
    // Empties every cell's text and back colour.
    void Clear();

    int Row() const { return row_; }
    int Col() const { return col_; }
    // Each change of row or column is one move: leave, change, enter.
    void SetRow(int row);
    void SetCol(int col);
    void MoveTo(int row, int col);

    QString CurrentText() const { return Text(row_, col_); }

signals:
    void leaveCell();
    void enterCell();
    void changed();

private:
    struct Cell {
        QString text;
        QColor back; // invalid: the normal colour
    };
    static size_t Index(int row, int col) { return static_cast<size_t>(row * kCols + col); }
    std::array<Cell, kRows * kCols> cells_{};
    int row_ = 1;
    int col_ = 0;
};

// Shows the grid: a fixed header row, 600 by 650 twips cells. Clicks and arrow keys move
// the current cell through the model, so they run the same notifications as code does.
class CalGridView : public QWidget {
    Q_OBJECT
public:
    explicit CalGridView(CalGridModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QRect CellRect(int row, int col) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CalGridModel& model_;
};
