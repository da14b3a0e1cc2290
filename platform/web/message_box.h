// On the page a message is a line the page shows: the code behind it keeps the last one.
#pragma once

#include <string>

// The text of the last message box since the last clear; empty if none was shown.
const std::string& lastMessageBoxText();
void clearMessageBoxText();
