#include "common/Random.h"

#include <ctime>

TRandom& SharedRandom()
{
    static TRandom instance;
    return instance;
}

void SeedSharedRandomFromClock()
{
    SharedRandom().Seed(static_cast<std::uint32_t>(std::time(nullptr)));
}
