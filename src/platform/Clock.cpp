#include "platform/Clock.h"

namespace {
QDateTime g_fixed;
} // namespace

QDateTime Clock::Now() {
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate Clock::Today() {
    return Now().date();
}

void Clock::Set(const QDateTime& moment) {
    g_fixed = moment;
}

void Clock::Reset() {
    g_fixed = QDateTime();
}
