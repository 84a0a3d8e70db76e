#pragma once

#include <QHash>
#include <QString>

class QPlainTextEdit;

// The one find routine of the program: finds a text in the box of a function and steps from
// match to match. Each function hands it its box under its function code ("1" the journal,
// "3" the note); the position of the last match is shared by them all.
class TextFinder {
public:
    void SetBox(const QString& functionCode, QPlainTextEdit* box);

    // mode "F" finds from the top; any other mode finds the next match, or from the top when
    // there is no current match. Codes "0", "2" and "4" do nothing; any other code without a
    // box is reported.
    void FindText(const QString& mode, const QString& functionCode, const QString& what,
                  bool caseSensitive);

    // 0: no current match; otherwise the 1-based position just after the last match.
    int LastFindPos = 0;

private:
    void FindFromTop(QPlainTextEdit* box, const QString& what, Qt::CaseSensitivity cs);
    void Select(QPlainTextEdit* box, qsizetype at, qsizetype length);

    QHash<QString, QPlainTextEdit*> boxes_;
};
