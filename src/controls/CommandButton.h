#pragma once

class QPushButton;
class QString;
class QWidget;

// A push button under its system name that never becomes the default button: Enter belongs to
// the box being typed in, not to whichever button had the focus last.
QPushButton* CommandButton(QWidget* parent, const QString& name, const QString& caption);
