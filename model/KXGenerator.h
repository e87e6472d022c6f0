#pragma once

#include "model/KXBase.h"

#include <cstdint>
#include <string>

// Writes the texts of typing tasks: a character-level Markov chain over the
// base's tree. Each next character is drawn among the continuations stored for
// the last Level - 1 characters, with a probability proportional to the
// continuation's count times the weight of its character. The task raises the
// weights of characters the user gets wrong, so that they come up more often.
class TKXGenerator {
public:
    static constexpr double MaxWeight = 10000000.0;
    // Consecutive calls of NextChar without a character after which MakeText
    // gives up: a malformed base could otherwise keep it drawing for ever.
    static constexpr int MaxFailedDraws = 10000;

    explicit TKXGenerator(const TKXBase* base);

    void SetLevel(int n);
    int Level() const { return CurrentLevel; }

    double GetWeight(std::uint8_t ch) const;
    void SetWeight(std::uint8_t ch, double w);
    void ResetWeights();

    void RandomWalk(const TBaseStructure* start);
    // The next character, or 0 when this call produced none.
    std::uint8_t NextChar();
    // A text of exactly length characters (at least 1) that neither begins nor
    // ends with a space. An empty result means the base cannot produce text;
    // ErrorText() then says why.
    std::string MakeText(int length);

    const std::string& History() const { return Window; }
    const std::string& ErrorText() const { return LastError; }
    const TKXBase* Base() const { return BaseModel; }

private:
    std::uint8_t Fail(const char* message, bool& shown);

    const TKXBase* BaseModel;
    double Weights[256];
    std::string Window;
    int CurrentLevel;
    std::string LastError;
    bool LogicErrorShown = false;
    bool BaseErrorShown = false;
};
