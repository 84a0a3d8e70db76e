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
