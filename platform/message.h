// The one way the show tells its user something has gone wrong: "caption: text" on stderr
// where there is one to read, else (a Windows program started from the desktop) a message box.
#pragma once

void ShowMessage(const char* caption, const char* text);
