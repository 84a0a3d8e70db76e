#include "controls/IdleSaver.h"

#include <QApplication>

namespace {
int g_delay = 2000;
} // namespace

void IdleSaver::SetDelay(int milliseconds) {
    g_delay = milliseconds;
}

IdleSaver::IdleSaver(QObject* parent, std::function<void()> save)
    : QObject(parent), save_(std::move(save)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &IdleSaver::Elapsed);
}

void IdleSaver::Edited() {
    timer_.start(g_delay);
}

void IdleSaver::Cancel() {
    timer_.stop();
}

void IdleSaver::Elapsed() {
    // A box or dialog is open: its owner is in the middle of something; wait again.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        timer_.start(g_delay);
        return;
    }
    save_();
}
