#include "platform/web/message_box.h"

#include "platform/win32.h"

namespace {
std::string lastText;
} // namespace

int MessageBoxA(HWND, const char* text, const char*, UINT) {
    lastText = text ? text : "";
    return 1; // IDOK
}

const std::string& lastMessageBoxText() {
    return lastText;
}

void clearMessageBoxText() {
    lastText.clear();
}
