#include "model/KXGenerator.h"

#include "common/Messages.h"
#include "common/Random.h"

#include <cmath>

TKXGenerator::TKXGenerator(const TKXBase* base) : BaseModel(base)
{
    SeedSharedRandomFromClock();
    ResetWeights();
    CurrentLevel = base ? base->Depth() : 1;
}

void TKXGenerator::SetLevel(int n)
{
    const int depth = BaseModel ? BaseModel->Depth() : 1;
    if (n > depth)
        n = depth;
    if (n < 1)
        n = 1;
    CurrentLevel = n;
}

double TKXGenerator::GetWeight(std::uint8_t ch) const
{
    const std::uint8_t index = BaseModel ? BaseModel->Alphabet().Normalize(ch) : 0;
    return Weights[index];
}

void TKXGenerator::SetWeight(std::uint8_t ch, double w)
{
    if (std::isnan(w) || w < 0)
        w = 0;
    if (w > MaxWeight)
        w = MaxWeight;
    const std::uint8_t index = BaseModel ? BaseModel->Alphabet().Normalize(ch) : 0;
    Weights[index] = w;
}

void TKXGenerator::ResetWeights()
{
    for (double& w : Weights)
        w = 1.0;
}

void TKXGenerator::RandomWalk(const TBaseStructure* start)
{
    if (!start) {
        if (!BaseModel)
            return;
        start = BaseModel->Root();
        Window.clear();
    }
    const TBaseStructure* children[256];
    const TBaseStructure* e = start;
    while (e->Child) {
        int n = 0;
        for (const TBaseStructure* c = e->ChildElement(); c && n < 256; c = c->NextElement())
            children[n++] = c;
        const TBaseStructure* chosen = children[SharedRandom().Next() % n];
        Window.push_back(static_cast<char>(chosen->Char));
        e = chosen;
    }
}

std::uint8_t TKXGenerator::Fail(const char* message, bool& shown)
{
    // A broken base fails on every call: the message is shown once, not once
    // per character.
    if (!shown) {
        shown = true;
        ShowMessage(message);
    }
    LastError = message;
    return 0;
}

std::uint8_t TKXGenerator::NextChar()
{
    if (!BaseModel)
        return Fail("Generator::Base Error", BaseErrorShown);

    const int depth = BaseModel->Depth();
    if (CurrentLevel < 1)
        CurrentLevel = 1;
    if (CurrentLevel > depth)
        CurrentLevel = depth;

    if (static_cast<int>(Window.size()) < depth)
        RandomWalk(nullptr);
    // A walk that ends above the depth means leaves on the wrong level; the
    // loader refuses such bases, but the window must never be read past its end.
    if (static_cast<int>(Window.size()) < depth)
        return Fail("TXKGenerator: Logic error!", LogicErrorShown);

    // Slide the window: the last position keeps its character until replaced.
    const std::size_t offset = Window.size() - static_cast<std::size_t>(depth);
    char* h = Window.data() + offset;
    for (int i = 0; i < depth - 1; ++i)
        h[i] = h[i + 1];

    // The context: the Level - 1 characters before the one to be produced.
    const TBaseStructure* context = BaseModel->Root();
    for (int i = depth - CurrentLevel; i < depth - 1; ++i) {
        const auto ch = static_cast<std::uint8_t>(h[i]);
        const TBaseStructure* next = nullptr;
        for (const TBaseStructure* c = context->ChildElement(); c; c = c->NextElement()) {
            if (c->Char == ch) {
                next = c;
                break;
            }
        }
        if (!next) {
            RandomWalk(nullptr);
            return 0;
        }
        context = next;
    }

    const TAlphabet& alphabet = BaseModel->Alphabet();
    double sum = 0;
    for (const TBaseStructure* c = context->ChildElement(); c; c = c->NextElement())
        sum += Weights[alphabet.Normalize(c->Char)] * static_cast<double>(c->Count);
    const double threshold = SharedRandom().Next() * sum / 32768.0;
    double running = 0;
    for (const TBaseStructure* c = context->ChildElement(); c; c = c->NextElement()) {
        running += Weights[alphabet.Normalize(c->Char)] * static_cast<double>(c->Count);
        if (running > threshold) {
            h[depth - 1] = static_cast<char>(c->Char);
            return c->Char;
        }
    }
    return Fail("TXKGenerator: Logic error!", LogicErrorShown);
}

std::string TKXGenerator::MakeText(int length)
{
    if (length < 1)
        length = 1;
    LastError.clear();

    // Retries after a text that ended in a space draw on from the current
    // history and weights; the failed-draw budget spans them all.
    int failed = 0;
    int discarded = 0;
    for (;;) {
        std::string text;
        text.reserve(static_cast<std::size_t>(length));
        bool guard = false;
        std::uint8_t guarded = 0;
        double guardedWeight = 1.0;

        while (static_cast<int>(text.size()) < length) {
            std::uint8_t ch = NextChar();
            if (ch == 0 || (text.empty() && ch == ' ')) {
                if (++failed > MaxFailedDraws) {
                    if (guard)
                        SetWeight(guarded, guardedWeight);
                    if (LastError.empty())
                        LastError = "TXKGenerator: the base produces no text";
                    return std::string();
                }
                continue;
            }
            failed = 0;
            if (!text.empty() && ch == static_cast<std::uint8_t>(text.back())) {
                if (!guard) {
                    guard = true;
                    guarded = ch;
                    guardedWeight = GetWeight(ch);
                    SetWeight(ch, 1.0);
                }
            } else if (guard) {
                guard = false;
                SetWeight(guarded, guardedWeight);
            }
            text.push_back(static_cast<char>(ch));
        }
        if (guard)
            SetWeight(guarded, guardedWeight);
        if (text.back() != ' ')
            return text;
        // A text never ends with a space: draw a whole new one. Each discarded
        // text counts against the budget, so a base that only ends in spaces
        // cannot keep us here.
        if (++discarded > MaxFailedDraws) {
            LastError = "TXKGenerator: the base produces no text";
            return std::string();
        }
    }
}
