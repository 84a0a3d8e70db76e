#pragma once

#include <QByteArray>
#include <QString>

// The ANSI code page the program's text-to-byte conversions use (Windows-1252). The five
// bytes the page leaves undefined map to the C1 controls of the same value, so every byte
// survives a round trip through text.
namespace CodePage1252 {

// One byte per character; a character the page cannot show becomes '?'. A surrogate pair is
// one character.
QByteArray FromUnicode(const QString& text);
// One character per byte.
QString ToUnicode(const QByteArray& bytes);

} // namespace CodePage1252
