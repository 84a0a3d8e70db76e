#pragma once

#include <QString>
#include <functional>

class QDialog;

// The application object the program knows from its platform.
namespace App {

QString Title();
void SetTitle(const QString& title);

// The folder that holds the executable, without a trailing separator.
QString Path();
// Tests point the program at a temporary folder; an empty text restores the real one.
void SetPath(const QString& folder);

// The folder that holds the database: the program's folder when it holds pengkalan.dat or
// its user can write there (a build, an install into the user's prefix, a portable copy);
// otherwise, as for a system package, $XDG_DATA_HOME/pimora (~/.local/share/pimora when the
// variable is unset or not absolute). Deciding makes nothing; see MakeDataPath.
QString DataPath();
// Makes the data folder and any missing folder above it owner-only (0700), as the desktop's
// base directory rule asks. Empty when made or already there, else the system's reason.
QString MakeDataPath();

constexpr int Major = 0;
constexpr int Minor = 9;
constexpr int Revision = 7;

// True when another instance runs; otherwise this instance claims the title.
bool PrevInstance();

} // namespace App

// Brings forward the top-level window of the running instance known by title: one whose
// title equals it, else one whose title begins with it. False when none answered.
bool AppActivate(const QString& title);

// Shows a dialog modally and returns its result. Tests replace the runner to drive the
// dialog themselves.
using ModalRunner = std::function<int(QDialog&)>;
int ShowModal(QDialog& dialog);
ModalRunner InstallModalRunner(ModalRunner runner);

// Hands a file or address to the desktop to open; false when nothing could open it.
bool ShellOpen(const QString& target);
// Tests see what would have been opened instead of a desktop opening it.
using ShellOpener = std::function<bool(const QString&)>;
ShellOpener InstallShellOpener(ShellOpener opener);
void Beep();
