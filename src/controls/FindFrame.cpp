#include "controls/FindFrame.h"

#include "controls/CommandButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

FindFrame MakeFindFrame(QWidget* parent, const QString& caption, const FindFrameNames& names) {
    FindFrame f;
    f.frame = new QGroupBox(caption, parent);
    f.frame->setObjectName(QString::fromLatin1(names.frame));
    f.text = new QLineEdit(f.frame);
    f.text->setObjectName(QString::fromLatin1(names.text));
    f.text->setAccessibleName(caption);
    f.find = CommandButton(f.frame, QString::fromLatin1(names.find), QStringLiteral("&Find"));
    f.caseSensitive = new QCheckBox(QStringLiteral("Case Sensitive"), f.frame);
    f.caseSensitive->setObjectName(QString::fromLatin1(names.caseSensitive));
    f.close = CommandButton(f.frame, QString::fromLatin1(names.close), QStringLiteral("&Close"));
    auto* row = new QHBoxLayout(f.frame);
    row->setContentsMargins(6, 2, 6, 4);
    row->addWidget(f.text, 1);
    row->addWidget(f.find);
    row->addWidget(f.caseSensitive);
    row->addWidget(f.close);
    return f;
}
