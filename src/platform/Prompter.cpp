#include "platform/Prompter.h"

#include "platform/Application.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The real prompter: modal QMessageBox / QInputDialog. The first button is the default
// and every button has its access key.
class QtPrompter : public Prompter {
public:
    MsgResult Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    QString Input(const QString& prompt, const QString& title, const QString& defaultText) override;
};

std::unique_ptr<Prompter> g_installed;
QtPrompter g_builtin;

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgResult QtPrompter::Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) {
    QMessageBox box(ToQt(icon), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    struct Choice {
        const char* caption;
        QMessageBox::ButtonRole role;
        MsgResult result;
    };
    std::vector<Choice> choices;
    switch (buttons) {
    case MsgButtons::OK:
        choices = {{"OK", QMessageBox::AcceptRole, MsgResult::OK}};
        break;
    case MsgButtons::OKCancel:
        choices = {{"OK", QMessageBox::AcceptRole, MsgResult::OK},
                   {"Cancel", QMessageBox::RejectRole, MsgResult::Cancel}};
        break;
    case MsgButtons::YesNo:
        choices = {{"&Yes", QMessageBox::YesRole, MsgResult::Yes},
                   {"&No", QMessageBox::NoRole, MsgResult::No}};
        break;
    case MsgButtons::YesNoCancel:
        choices = {{"&Yes", QMessageBox::YesRole, MsgResult::Yes},
                   {"&No", QMessageBox::NoRole, MsgResult::No},
                   {"Cancel", QMessageBox::RejectRole, MsgResult::Cancel}};
        break;
    }
    std::vector<QPushButton*> pushed;
    for (const Choice& c : choices)
        pushed.push_back(box.addButton(QString::fromLatin1(c.caption), c.role));
    box.setDefaultButton(pushed.front());
    // A Yes/No box has no cancel: closing it answers No, as the last button.
    box.setEscapeButton(pushed.back());
    box.exec();
    for (size_t i = 0; i < pushed.size(); ++i)
        if (box.clickedButton() == pushed[i])
            return choices[i].result;
    return choices.back().result;
}

QString QtPrompter::Input(const QString& prompt, const QString& title, const QString& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                         QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

Prompter& CurrentPrompter() {
    if (g_installed)
        return *g_installed;
    return g_builtin;
}

std::unique_ptr<Prompter> InstallPrompter(std::unique_ptr<Prompter> prompter) {
    std::swap(g_installed, prompter);
    return prompter;
}

MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) {
    return CurrentPrompter().Message(text, buttons, icon, title.isEmpty() ? App::Title() : title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return CurrentPrompter().Input(prompt, title.isEmpty() ? App::Title() : title, defaultText);
}
