#include "controls/TabStrip.h"

#include "controls/Twips.h"

#include <QGroupBox>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 360;

// A click reports its tab and then changes the current one (on the press or, in some styles,
// on the release); knowing that a click is under way tells that change from a move made with
// the keyboard.
class ChoiceBar : public QTabBar {
public:
    using QTabBar::QTabBar;
    bool Clicking() const { return clicking_; }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const QScopedValueRollback clicking(clicking_, true);
        QTabBar::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const QScopedValueRollback clicking(clicking_, true);
        QTabBar::mouseReleaseEvent(event);
    }

private:
    bool clicking_ = false;
};
} // namespace

TabStrip::TabStrip(QWidget* parent, const QString& name, Sizing sizing)
    : QWidget(parent), bar_(new ChoiceBar(this)), sizing_(sizing) {
    setObjectName(name);
    bar_->setObjectName(name + QStringLiteral(".Tabs"));
    bar_->setExpanding(false);
    bar_->setDrawBase(true);
    bar_->setFocusPolicy(Qt::StrongFocus);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < frames_.size())
            BringToFront(frames_[index]);
        emit currentChanged(index);
        if (!static_cast<ChoiceBar*>(bar_)->Clicking() && bar_->hasFocus())
            emit tabChosen(index);
    });
    connect(bar_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            emit tabChosen(index);
    });
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
