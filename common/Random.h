#pragma once

#include <cstdint>

// The program-wide pseudo-random source: a linear congruential generator of
// 15-bit values (0 to 32767). Everything on the user-interface thread draws
// from the one instance returned by SharedRandom(), so a test that seeds it
// reproduces every draw exactly.
class TRandom {
public:
    static constexpr int MaxValue = 32767;

    explicit TRandom(std::uint32_t seed = 1) : State(seed) {}

    void Seed(std::uint32_t seed) { State = seed; }
    std::uint32_t GetState() const { return State; }

    // state = state * 22695477 + 1 (mod 2^32); the value is bits 16..30.
    int Next()
    {
        State = State * 22695477u + 1u;
        return static_cast<int>((State >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t State;
};

TRandom& SharedRandom();

// Seeds the shared source with the current time in whole seconds.
void SeedSharedRandomFromClock();
