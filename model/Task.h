#pragma once

#include "model/KXGenerator.h"
#include "model/TaskStatistic.h"

#include <cstdint>
#include <functional>
#include <string>

// The task being typed: its text, how far the user has come, and where the
// user's errors become the generator's weights for the next text.
class TTask {
public:
    using TEvent = std::function<void()>;
    static constexpr int DefaultLength = 78;

    TTask(const TStatisticUser* user, const TKXBase* base);

    void NewTask();
    void KeyPressed(std::uint32_t time, std::uint8_t ch);

    void RelaxWeight(std::uint8_t ch);
    void StressWeight(std::uint8_t ch);

    TTaskStatistic& Statistic() { return Stats; }
    const TTaskStatistic& Statistic() const { return Stats; }
    TKXGenerator& Generator() { return Gen; }
    const TKXGenerator& Generator() const { return Gen; }

    const std::string& Text() const { return TaskText; }
    const std::string& WrongText() const { return Wrong; }
    std::uint8_t Expected() const { return ExpectedChar; }
    std::uint8_t Typed() const { return TypedChar; }
    bool Distorted() const { return IsDistorted; }
    int Position() const { return Pos; }
    bool Complete() const { return Pos >= static_cast<int>(TaskText.size()); }

    int Length() const { return TextLength; }
    // Lengths below 1 (a hand-edited settings file) fall back to the default.
    void SetLength(int length) { TextLength = length >= 1 ? length : DefaultLength; }

    TEvent OnChange;
    TEvent OnError;
    TEvent OnCorrect;
    TEvent OnComplete;

private:
    TTaskStatistic Stats;
    std::string TaskText;
    std::string Wrong;
    std::uint8_t ExpectedChar = 0;
    std::uint8_t TypedChar = 0;
    bool IsDistorted = false;
    int TextLength = DefaultLength;
    TKXGenerator Gen;
    int Pos = 0;
};
