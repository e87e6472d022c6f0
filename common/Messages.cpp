#include "common/Messages.h"

#include <iostream>
#include <utility>

namespace {
TMessageHandler& CurrentHandler()
{
    static TMessageHandler handler;
    return handler;
}
} // namespace

void ShowMessage(const std::string& text)
{
    if (const TMessageHandler& handler = CurrentHandler())
        handler(text);
    else
        std::cerr << text << std::endl;
}

TMessageHandler SetMessageHandler(TMessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
