#pragma once

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// A find frame over a text box: a captioned frame holding the text to find, the Find
// button, the case check box and the Close button, each under its system name.
struct FindFrame {
    QGroupBox* frame = nullptr;
    QLineEdit* text = nullptr;
    QPushButton* find = nullptr;
    QCheckBox* caseSensitive = nullptr;
    QPushButton* close = nullptr;
};

struct FindFrameNames {
    const char* frame;
    const char* text;
    const char* find;
    const char* caseSensitive;
    const char* close;
};

FindFrame MakeFindFrame(QWidget* parent, const QString& caption, const FindFrameNames& names);
