#pragma once

#include <cstdint>

// A millisecond clock on the system's monotonic counter. Every instance reads
// the same time base, so readings of different instances can be subtracted;
// readings wrap in unsigned 32-bit arithmetic and only their differences mean
// anything.
class THighResolutionTimer {
public:
    THighResolutionTimer();

    // Takes a fresh start reading; Now() does not depend on it.
    void Reset();
    std::uint32_t Now() const;
    std::uint32_t StartValue() const { return Start; }

    // Converts a raw counter value with the given frequency (ticks per second)
    // the way Now() does: the frequency is first reduced to whole ticks per
    // millisecond, so a frequency that is not a multiple of 1000 gives slightly
    // short milliseconds.
    static std::uint32_t CounterToMilliseconds(std::uint64_t counter, std::uint64_t frequency);

private:
    std::uint32_t Start = 0;
};
