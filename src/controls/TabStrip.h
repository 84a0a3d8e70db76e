#pragma once

#include <QList>
#include <QWidget>

class QGroupBox;
class QTabBar;

// A tab strip and the frames it brings to the front, as the system's tab control held them:
// the tabs along the top, the frames in one place inside (120, 360 twips from the corner).
// Choosing a tab shows its frame; the others are hidden. Tabs carry keys.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    // FramesFollow: the frames take the strip's size; SizedByOwner: whoever lays the window
    // out sizes them.
    enum Sizing { FramesFollow, SizedByOwner };
    TabStrip(QWidget* parent, const QString& name, Sizing sizing);

    // A frame with a caption, named as the system names it; the n-th frame belongs to the
    // n-th tab.
    QGroupBox* AddFrame(const QString& name, const QString& caption);
    void BringToFront(QWidget* frame);

    void AddTab(const QString& caption, const QString& key, const QIcon& icon);
    void RemoveAll();
    QString KeyAt(int index) const;
    int IndexOfKey(const QString& key) const;
    bool SelectKey(const QString& key);
    int count() const;
    QString tabText(int index) const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* Bar() const { return bar_; }

signals:
    void currentChanged(int index);
    // The user chose a tab: a click on any tab (the current one too), or a move with the
    // keyboard. Once per choice, however the bar reports it.
    void tabChosen(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SizeFrame(QWidget* frame);

    QTabBar* bar_;
    QList<QWidget*> frames_;
    Sizing sizing_;
};

// Shows one of the frames that lie in the same place.
void BringToFront(QWidget* frame);
