#include "shell/frmAbout.h"

#include "common/AppGlobals.h"
#include "platform/Application.h"
#include "store/Database.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + App::Title());
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(windowIcon().pixmap(48, 48));
    lblTitle = new QLabel(QStringLiteral("Pimora - Personal Information Manager"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    lblTitle->setFont(big);
    Label2 = new QLabel(QStringLiteral("Version:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblVersion = new QLabel(
        QStringLiteral("%1.%2.%3").arg(App::Major).arg(App::Minor).arg(App::Revision), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Label1 = new QLabel(QStringLiteral("Database Version:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblDBVersion = new QLabel(Database::RequiredVersion(), this);
    lblDBVersion->setObjectName(QStringLiteral("lblDBVersion"));
    lblDescription = new QLabel(QStringLiteral("A calendar with a journal and events for every "
                                               "day, and a tree of thoughts."),
                                this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setPlainText(
        QStringLiteral("Pimora is e-mailware. If you use it, please send the author an e-mail at "
                       "%1 to say where you are from, with any feedback you have. Say so in "
                       "your e-mail, and you will be added to the mailing list that tells of "
                       "the next upgrade.")
            .arg(QString::fromLatin1(kAuthorMail)));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* versions = new QGridLayout;
    versions->addWidget(Label2, 0, 0);
    versions->addWidget(lblVersion, 0, 1);
    versions->addWidget(Label1, 1, 0);
    versions->addWidget(lblDBVersion, 1, 1);
    versions->setColumnStretch(2, 1);
    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addLayout(versions);
    text->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    resize(460, 320);
}
