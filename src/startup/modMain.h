#pragma once

// The program's start: one instance, the database, then the login or the main window.
// Returns with a window open, or with none when the program must end.
void Main();

class frmLogin;

// Shows the login dialog; when the login succeeds the main window opens.
frmLogin* ShowLogin();

// True while a window of the program is open.
bool AnyWindowOpen();
