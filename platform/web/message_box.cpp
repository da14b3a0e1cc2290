#include "platform/web/message_box.h"

#include "platform/message.h"

namespace {
std::string lastText;
} // namespace

void ShowMessage(const char*, const char* text) {
    lastText = text ? text : "";
}

const std::string& lastMessageBoxText() {
    return lastText;
}

void clearMessageBoxText() {
    lastText.clear();
}
