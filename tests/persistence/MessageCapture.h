#pragma once

#include "common/Messages.h"

#include <string>
#include <vector>

// Collects what ShowMessage shows while it lives.
class TMessageCapture {
public:
    TMessageCapture()
        : Previous(SetMessageHandler([this](const std::string& text) { Texts.push_back(text); }))
    {
    }
    ~TMessageCapture() { SetMessageHandler(Previous); }
    TMessageCapture(const TMessageCapture&) = delete;
    TMessageCapture& operator=(const TMessageCapture&) = delete;

    std::vector<std::string> Texts;

private:
    TMessageHandler Previous;
};
