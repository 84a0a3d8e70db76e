#include "controls/TextBox.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

void LoadPlainText(QPlainTextEdit& box, const QString& text) {
    QTextDocument& doc = *box.document();
    doc.setPlainText(text);
    box.setTextCursor(QTextCursor(&doc));
    doc.setModified(false);
}
