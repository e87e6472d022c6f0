#include "model/Task.h"

TTask::TTask(const TStatisticUser* user, const TKXBase* base) : Stats(user), Gen(base) {}

void TTask::NewTask()
{
    IsDistorted = Stats.GetErrorCount() > 0;
    TaskText = Gen.MakeText(TextLength >= 1 ? TextLength : DefaultLength);
    Pos = 0;
    Gen.ResetWeights();
    Stats.Reset();
    if (OnChange)
        OnChange();
}

void TTask::KeyPressed(std::uint32_t time, std::uint8_t ch)
{
    if (ch == 0)
        return;
    if (Pos >= static_cast<int>(TaskText.size()))
        return;
    ExpectedChar = static_cast<std::uint8_t>(TaskText[static_cast<std::size_t>(Pos)]);
    TypedChar = ch;
    if (ch == ExpectedChar) {
        RelaxWeight(ExpectedChar);
        ++Pos;
        Wrong.clear();
        if (OnCorrect)
            OnCorrect();
    } else {
        if (Wrong.empty())
            StressWeight(ExpectedChar);
        Wrong.assign(1, static_cast<char>(ch));
        if (OnError)
            OnError();
    }
    Stats.AddKeystroke(time, ExpectedChar, TypedChar);
    if (OnChange)
        OnChange();
    if (Pos >= static_cast<int>(TaskText.size()) && OnComplete)
        OnComplete();
}

void TTask::RelaxWeight(std::uint8_t ch)
{
    Gen.SetWeight(ch, (Gen.GetWeight(ch) - 1.0) * 0.8 + 1.0);
}

void TTask::StressWeight(std::uint8_t ch)
{
    Gen.SetWeight(ch, Gen.GetWeight(ch) * 20.0);
}
