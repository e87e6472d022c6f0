#pragma once

#include <functional>
#include <string>

// Plain messages for conditions that should not occur ("Generator::Base Error"
// and the like). The model has no user interface of its own; it calls
// ShowMessage, and the application installs a handler that shows a message
// box. Without a handler the text goes to standard error.
using TMessageHandler = std::function<void(const std::string& text)>;

void ShowMessage(const std::string& text);

// Installs a handler (an empty one restores the default) and returns the
// handler that was in place before.
TMessageHandler SetMessageHandler(TMessageHandler handler);
