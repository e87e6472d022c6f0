#include "common/HighResolutionTimer.h"

#include <chrono>

namespace {
// The counter: nanoseconds of the monotonic clock, common to all instances.
constexpr std::uint64_t CounterFrequency = 1000000000ull;

std::uint64_t CounterNow()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

THighResolutionTimer::THighResolutionTimer()
{
    Reset();
}

void THighResolutionTimer::Reset()
{
    Start = Now();
}

std::uint32_t THighResolutionTimer::Now() const
{
    return CounterToMilliseconds(CounterNow(), CounterFrequency);
}

std::uint32_t THighResolutionTimer::CounterToMilliseconds(std::uint64_t counter,
                                                          std::uint64_t frequency)
{
    const std::uint64_t ticksPerMillisecond = frequency / 1000;
    if (ticksPerMillisecond == 0)
        return 0;
    return static_cast<std::uint32_t>((counter / ticksPerMillisecond) & 0xFFFFFFFFull);
}
