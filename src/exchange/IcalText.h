#pragma once

#include <QByteArray>
#include <QString>

// The checks libical does not make, or makes without saying where: every line a content line,
// BEGIN and END matched, every date and time readable. Empty when the text is sound, else
// "line N: what is wrong".
QString FirstFault(const QByteArray& text);
