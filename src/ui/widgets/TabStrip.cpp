#include "ui/widgets/TabStrip.h"

#include "ui/widgets/Twips.h"

#include <QGroupBox>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 360;
} // namespace

TabStrip::TabStrip(QWidget* parent, const QString& name, Sizing sizing)
    : QWidget(parent), bar_(new QTabBar(this)), sizing_(sizing) {
    setObjectName(name);
    bar_->setObjectName(name + QStringLiteral(".Tabs"));
    bar_->setExpanding(false);
    bar_->setDrawBase(true);
    bar_->setFocusPolicy(Qt::StrongFocus);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < frames_.size())
            BringToFront(frames_[index]);
        emit currentChanged(index);
    });
    connect(bar_, &QTabBar::tabBarClicked, this, &TabStrip::tabBarClicked);
}

QGroupBox* TabStrip::AddFrame(const QString& name, const QString& caption) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(name);
    frames_ << frame;
    SizeFrame(frame);
    frame->setVisible(frames_.size() == 1);
    return frame;
}

void TabStrip::SizeFrame(QWidget* frame) {
    PlaceTwips(frame, {kFrameLeft, kFrameTop, PixelsToTwips(width()) - 2 * kFrameLeft,
                       PixelsToTwips(height()) - kFrameTop - kFrameLeft});
}

void TabStrip::BringToFront(QWidget* frame) {
    for (QWidget* f : std::as_const(frames_))
        f->setVisible(f == frame);
    frame->raise();
}

void TabStrip::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(0, 0, width(), TwipsToPixels(kFrameTop));
    if (sizing_ == FramesFollow)
        for (QWidget* f : std::as_const(frames_))
            SizeFrame(f);
}

void TabStrip::AddTab(const QString& caption, const QString& key, const QIcon& icon) {
    const int index = bar_->addTab(icon, caption);
    bar_->setTabData(index, key);
}

void TabStrip::RemoveAll() {
    while (bar_->count() > 0)
        bar_->removeTab(bar_->count() - 1);
}

QString TabStrip::KeyAt(int index) const {
    return bar_->tabData(index).toString();
}

int TabStrip::IndexOfKey(const QString& key) const {
    for (int i = 0; i < bar_->count(); ++i)
        if (KeyAt(i) == key)
            return i;
    return -1;
}

bool TabStrip::SelectKey(const QString& key) {
    const int index = IndexOfKey(key);
    if (index < 0)
        return false;
    bar_->setCurrentIndex(index);
    return true;
}

int TabStrip::count() const {
    return bar_->count();
}

QString TabStrip::tabText(int index) const {
    return bar_->tabText(index);
}

int TabStrip::currentIndex() const {
    return bar_->currentIndex();
}

void TabStrip::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}

void BringToFront(QWidget* frame) {
    for (QWidget* p = frame->parentWidget(); p; p = p->parentWidget())
        if (auto* strip = qobject_cast<TabStrip*>(p)) {
            strip->BringToFront(frame);
            return;
        }
    frame->raise();
}
