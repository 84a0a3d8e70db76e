#include "calendar/CalGrid.h"

#include "ui/main/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

void CalGridModel::SetText(int row, int col, const QString& text) {
    cells_[Index(row, col)].text = text;
    emit changed();
}

void CalGridModel::SetBackColor(int row, int col, const QColor& colour) {
    cells_[Index(row, col)].back = colour;
    emit changed();
}

void CalGridModel::Clear() {
    for (Cell& c : cells_)
        c = Cell{};
    emit changed();
}

void CalGridModel::SetRow(int row) {
    if (row == row_ || row < 0 || row >= kRows)
        return;
    emit leaveCell();
    row_ = row;
    emit changed();
    emit enterCell();
}

void CalGridModel::SetCol(int col) {
    if (col == col_ || col < 0 || col >= kCols)
        return;
    emit leaveCell();
    col_ = col;
    emit changed();
    emit enterCell();
}

void CalGridModel::MoveTo(int row, int col) {
    SetRow(row);
    SetCol(col);
}

namespace {
constexpr int kCellWidth = TwipsToPixels(600);
constexpr int kCellHeight = TwipsToPixels(650);
} // namespace

CalGridView::CalGridView(CalGridModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
    connect(&model_, &CalGridModel::changed, this, qOverload<>(&QWidget::update));
}

QSize CalGridView::sizeHint() const {
    return {kCellWidth * CalGridModel::kCols + 1, kCellHeight * CalGridModel::kRows + 1};
}

QRect CalGridView::CellRect(int row, int col) const {
    return {col * kCellWidth, row * kCellHeight, kCellWidth, kCellHeight};
}

void CalGridView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    for (int r = 0; r < CalGridModel::kRows; ++r)
        for (int c = 0; c < CalGridModel::kCols; ++c) {
            const QRect rect = CellRect(r, c);
            QColor back = model_.BackColor(r, c);
            if (!back.isValid())
                back = r == 0 ? pal.color(QPalette::Button) : pal.color(QPalette::Base);
            p.fillRect(rect, back);
            p.setPen(pal.color(QPalette::Mid));
            p.drawRect(rect);
            p.setPen(pal.color(r == 0 ? QPalette::ButtonText : QPalette::Text));
            p.drawText(rect, r == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop,
                       r == 0 ? model_.Text(r, c) : QLatin1Char(' ') + model_.Text(r, c));
        }
    if (hasFocus() && model_.Row() > 0) {
        QPen focus(pal.color(QPalette::Highlight), 2);
        p.setPen(focus);
        p.drawRect(CellRect(model_.Row(), model_.Col()).adjusted(1, 1, -1, -1));
    }
}

void CalGridView::mousePressEvent(QMouseEvent* event) {
    const int row = static_cast<int>(event->position().y()) / kCellHeight;
    const int col = static_cast<int>(event->position().x()) / kCellWidth;
    setFocus();
    // The header row is fixed: it cannot be selected.
    if (row >= 1 && row < CalGridModel::kRows && col >= 0 && col < CalGridModel::kCols)
        model_.MoveTo(row, col);
}

void CalGridView::keyPressEvent(QKeyEvent* event) {
    int row = model_.Row(), col = model_.Col();
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
        QWidget::keyPressEvent(event);
        return;
    }
    if (row >= 1 && row < CalGridModel::kRows && col >= 0 && col < CalGridModel::kCols)
        model_.MoveTo(row, col);
    event->accept();
}
