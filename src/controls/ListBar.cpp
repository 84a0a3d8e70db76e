#include "controls/ListBar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

ListBar::ListBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    header_ = new QLabel(this);
    header_->setAlignment(Qt::AlignCenter);
    header_->setFrameShape(QFrame::StyledPanel);
    items_ = new QListWidget(this);
    items_->setViewMode(QListView::IconMode);
    items_->setFlow(QListView::TopToBottom);
    items_->setMovement(QListView::Static);
    items_->setWrapping(false);
    items_->setIconSize(QSize(32, 32));
    items_->setSpacing(6);
    items_->setUniformItemSizes(true);
    items_->installEventFilter(this);
    layout->addWidget(header_);
    layout->addWidget(items_, 1);
    connect(items_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit ItemClick(item->text()); });
}

void ListBar::SetBar(const QString& key, const QString& caption) {
    header_->setObjectName(key);
    header_->setText(caption);
}

void ListBar::AddItem(const QString& key, const QString& caption, const QIcon& icon,
                      const QString& secondText) {
    auto* item = new QListWidgetItem(icon, caption, items_);
    item->setData(Qt::UserRole, key);
    item->setToolTip(secondText);
    item->setTextAlignment(Qt::AlignHCenter);
}

void ListBar::Clear() {
    items_->clear();
}
int ListBar::ItemCount() const {
    return items_->count();
}
QString ListBar::ItemCaption(int index) const {
    return items_->item(index)->text();
}
QString ListBar::ItemKey(int index) const {
    return items_->item(index)->data(Qt::UserRole).toString();
}

bool ListBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == items_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
            items_->currentItem()) {
            emit ItemClick(items_->currentItem()->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
