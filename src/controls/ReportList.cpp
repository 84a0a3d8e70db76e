#include "controls/ReportList.h"

#include "controls/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace {

class EnterOpens : public QObject {
public:
    EnterOpens(QTreeWidget* list, std::function<void()> open)
        : QObject(list), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                open_();
                return true; // the view's own activation would open it a second time
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> open_;
};

} // namespace

void SetColumnWidthsTwips(QTreeWidget* list, std::initializer_list<int> twips) {
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    int column = 0;
    for (int width : twips)
        header->resizeSection(column++, TwipsToPixels(width));
}

void ConnectOpen(QTreeWidget* list, std::function<void()> open) {
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, list, [open] { open(); });
    list->installEventFilter(new EnterOpens(list, std::move(open)));
}

void ConnectClick(QTreeWidget* list, std::function<void()> click) {
    QObject::connect(list, &QTreeWidget::itemClicked, list, [click] { click(); });
    list->installEventFilter(new EnterOpens(list, std::move(click)));
}
