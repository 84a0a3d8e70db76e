#pragma once

#include <QString>
#include <memory>

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { OK, Cancel, Yes, No };

// Every message box and input box of the program goes through one Prompter, so tests can
// script the answers and see exactly which boxes were shown.
class Prompter {
public:
    virtual ~Prompter() = default;
    // title is never empty here: MsgBox() below fills in the application title.
    virtual MsgResult Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) = 0;
    // Returns the empty text when the user cancels, as the input box always did.
    virtual QString Input(const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
};

Prompter& CurrentPrompter();
// Installs a prompter and returns the previous one (null when it was the built-in one).
std::unique_ptr<Prompter> InstallPrompter(std::unique_ptr<Prompter> prompter);

// A box given no title shows the application title.
MsgResult MsgBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                 MsgIcon icon = MsgIcon::None, const QString& title = {});
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
