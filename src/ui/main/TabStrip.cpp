#include "ui/main/TabStrip.h"

#include <QStackedWidget>

TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setDrawBase(true);
}

void TabStrip::AddTab(const QString& caption, const QString& key, const QIcon& icon) {
    const int index = addTab(icon, caption);
    setTabData(index, key);
}

void TabStrip::RemoveAll() {
    while (count() > 0)
        removeTab(count() - 1);
}

QString TabStrip::KeyAt(int index) const {
    return tabData(index).toString();
}

int TabStrip::IndexOfKey(const QString& key) const {
    for (int i = 0; i < count(); ++i)
        if (KeyAt(i) == key)
            return i;
    return -1;
}

bool TabStrip::SelectKey(const QString& key) {
    const int index = IndexOfKey(key);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

void BringToFront(QWidget* frame) {
    for (QWidget* p = frame->parentWidget(); p; p = p->parentWidget())
        if (auto* pile = qobject_cast<QStackedWidget*>(p)) {
            if (pile->indexOf(frame) >= 0) {
                pile->setCurrentWidget(frame);
                return;
            }
        }
    frame->raise();
}
