#pragma once

#include <QTabBar>

// A tab strip whose tabs carry keys, over frames that are brought to the front.
class TabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);
    void AddTab(const QString& caption, const QString& key, const QIcon& icon);
    void RemoveAll();
    QString KeyAt(int index) const;
    int IndexOfKey(const QString& key) const;
    bool SelectKey(const QString& key);
};

// Shows one of the frames that lie in the same place.
void BringToFront(QWidget* frame);

// A tab strip named stripName over a pile of frames in the same place (the pile is named
// stripName + "Frames"); choosing a tab brings its frame to the front. Each frame is made
// with a vertical layout and stored where its pointer points. Returns the widget that holds
// the strip and the pile.
QWidget* TabbedFrames(QWidget* parent, const QString& stripName, TabStrip*& strip,
                      std::initializer_list<std::pair<QWidget**, QString>> frames);
