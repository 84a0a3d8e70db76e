#include "ui/widgets/TabStrip.h"

#include <QStackedWidget>
#include <QVBoxLayout>

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

QWidget* TabbedFrames(QWidget* parent, const QString& stripName, TabStrip*& strip,
                      std::initializer_list<std::pair<QWidget**, QString>> frames) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    strip = new TabStrip(box);
    strip->setObjectName(stripName);
    auto* pile = new QStackedWidget(box);
    pile->setObjectName(stripName + QStringLiteral("Frames"));
    pile->setFrameShape(QFrame::StyledPanel);
    for (const auto& [slot, name] : frames) {
        auto* frame = new QFrame(pile);
        frame->setObjectName(name);
        new QVBoxLayout(frame);
        pile->addWidget(frame);
        *slot = frame;
    }
    layout->addWidget(strip);
    layout->addWidget(pile, 1);
    QObject::connect(strip, &QTabBar::currentChanged, pile, [pile](int index) {
        if (index >= 0 && index < pile->count())
            pile->setCurrentIndex(index);
    });
    return box;
}
