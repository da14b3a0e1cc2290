#include "platform/message.h"

#include <windows.h>

#include <cstdio>

// Started from a console or with stderr redirected, the line goes there as on Linux; started
// from the desktop a GUI program has no stderr, and the user gets a box to read.
void ShowMessage(const char* caption, const char* text) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err && err != INVALID_HANDLE_VALUE && GetFileType(err) != FILE_TYPE_UNKNOWN) {
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
        std::fflush(stderr);
        return;
    }
    MessageBoxA(nullptr, text, caption, MB_OK);
}
