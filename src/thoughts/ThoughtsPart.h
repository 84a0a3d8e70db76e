#pragma once

#include <QObject>

class QFrame;
class QMenu;
class TabStrip;

// The Thoughts function: fills its function frame and its menu.
class ThoughtsPart : public QObject {
    Q_OBJECT
public:
    ThoughtsPart(QFrame* frame, QMenu* menu);

    void BuildThoughtsTab();
    void RefreshThoughtsTree();
    void SaveThought() {}

    bool bThoughtsLoaded = false;

    TabStrip* tabThoughts = nullptr;
    QWidget* fraThoughts2 = nullptr;
    QWidget* fraThoughtsSearch = nullptr;
};
