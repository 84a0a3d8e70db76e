#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Saves a while after the last edit, so that a crash loses no more than the last seconds of
// typing. Only edits arm it: visiting what is already stored writes nothing. It never runs
// while a modal box or dialog is open; it then waits its time again.
class IdleSaver : public QObject {
    Q_OBJECT
public:
    IdleSaver(QObject* parent, std::function<void()> save);

    // An edit: the wait starts again.
    void Edited();
    void Cancel();
    bool Waiting() const { return timer_.isActive(); }

    // Two seconds; tests shorten it.
    static void SetDelay(int milliseconds);

private:
    void Elapsed();

    QTimer timer_;
    std::function<void()> save_;
};
