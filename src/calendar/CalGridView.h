#pragma once

#include "calendar/CalGridModel.h"

#include <QTableView>

// Shows the grid in 600 by 650 twips cells under its header row. Clicks and arrow keys move
// the current cell through the model, so they run the same notifications as code does.
class CalGridView : public QTableView {
    Q_OBJECT
public:
    explicit CalGridView(QWidget* parent = nullptr);
    // The view owns its model, so the model lives exactly as long as what shows it.
    CalGridModel* Model() const { return model_; }
    // A week cell's rectangle in the viewport (rows 1 to 6).
    QRect CellRect(int row, int col) const;
    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowCurrent();

    CalGridModel* model_;
    bool syncing_ = false;
};
