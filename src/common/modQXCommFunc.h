#pragma once

#include <QString>
#include <QVariant>

class RuntimeError;

// Doubles every apostrophe; the caller's variable holds the result too.
QString FixQuote(QString& text);
// Wraps every percent sign in square brackets; the caller's variable holds the result too.
QString EscapeLikePercent(QString& text);
// FixQuote of the value trimmed of spaces; the value itself is left alone.
// A Null value is an invalid use of Null.
QString TrimFixQuote(const QVariant& value);
// The empty text for Null, otherwise the value's text trimmed of spaces.
QString NullToEmpty(const QVariant& value);

// Trims U+0020 only, as the platform's Trim did.
QString TrimSpaces(QStringView text);
// A value's text as the platform's CStr wrote it (en-US dates and times).
QString VariantText(const QVariant& value);

// The one way a failure reaches the user: "Error: " + message, "Desc: " + description.
void ShowError(const QString& message, const QString& title, const QString& description);
void ShowError(const QString& message, const QString& title, const RuntimeError& error);
