#include "controls/TextFinder.h"

#include "platform/Prompter.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void TextFinder::SetBox(const QString& functionCode, QPlainTextEdit* box) {
    boxes_.insert(functionCode, box);
}

void TextFinder::Select(QPlainTextEdit* box, qsizetype at, qsizetype length) {
    box->setFocus();
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + length), QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    LastFindPos = static_cast<int>(at + length + 1);
}

void TextFinder::FindFromTop(QPlainTextEdit* box, const QString& what, Qt::CaseSensitivity cs) {
    LastFindPos = 0;
    const qsizetype at = what.isEmpty() ? -1 : box->toPlainText().indexOf(what, 0, cs);
    if (at < 0) {
        MsgBox(QStringLiteral("Cannot find '") + what + QStringLiteral("'!"), MsgButtons::OK,
               MsgIcon::Critical, QStringLiteral("Not Found"));
        return;
    }
    Select(box, at, what.size());
}

void TextFinder::FindText(const QString& mode, const QString& functionCode, const QString& what,
                          bool caseSensitive) {
    if (functionCode == QLatin1String("0") || functionCode == QLatin1String("2") ||
        functionCode == QLatin1String("4"))
        return;
    QPlainTextEdit* box = boxes_.value(functionCode);
    if (!box) {
        MsgBox(QStringLiteral("Find Text's Function not recognized!"));
        return;
    }
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (mode == QLatin1String("F") || LastFindPos == 0) {
        FindFromTop(box, what, cs);
        return;
    }
    const QString text = box->toPlainText();
    const qsizetype at = what.isEmpty() || LastFindPos - 1 > text.size()
                             ? -1
                             : text.indexOf(what, LastFindPos - 1, cs);
    if (at >= 0) {
        Select(box, at, what.size());
        return;
    }
    const QString where = functionCode == QLatin1String("1")
                              ? QStringLiteral("No more instances found!  Would you like to "
                                               "search from the top again?")
                              : QStringLiteral("No more instances found!  Would you like to "
                                               "search from the top of the node again?");
    LastFindPos = 0;
    if (MsgBox(where, MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Find Next")) ==
        MsgResult::Yes)
        FindFromTop(box, what, cs);
}
