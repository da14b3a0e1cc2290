#include "platform/win32.h"

#include "platform/message.h"

#include <cstdio>
#include <unistd.h>

int MessageBoxA(HWND, const char* text, const char* caption, UINT) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    return 1; // IDOK
}

void ExitProcess(UINT status) {
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(static_cast<int>(status));
}

HWND FindWindowA(const char*, const char* title) {
    static char token;
    return title ? &token : nullptr;
}

void ShowMessage(const char* caption, const char* text) {
    MessageBoxA(nullptr, text, caption, MB_OK);
}
