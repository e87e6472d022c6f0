#include "ModelFixtures.h"

#include "common/Random.h"

#include <cctype>

TKXBaseParameters MakeHeader(const std::string& chars, int depth, std::uint8_t charset)
{
    TKXBaseParameters header;
    header.Depth = depth;
    header.Alphabet.SetCharset(charset);
    for (unsigned char ch : chars) {
        const int pos = header.Alphabet.AddChar(ch);
        header.Alphabet.SetIndex(ch, static_cast<std::uint8_t>(pos));
        if (std::islower(ch))
            header.Alphabet.SetIndex(static_cast<unsigned char>(std::toupper(ch)),
                                     static_cast<std::uint8_t>(pos));
    }
    return header;
}

std::string WriteCountsBase(const TTempFolder& dir, const std::string& name,
                            const std::map<std::string, long long>& counts, int depth,
                            const std::string& alphabet)
{
    std::string chars = alphabet;
    if (chars.empty()) {
        for (const auto& [sequence, count] : counts)
            for (char ch : sequence)
                if (chars.find(ch) == std::string::npos)
                    chars.push_back(ch);
    }
    const std::string path = dir.File(name);
    std::string error;
    if (!WriteBaseFile(path, MakeHeader(chars, depth), RecordsFromCounts(counts), error))
        throw std::runtime_error(error);
    return path;
}

void SetNextRandom(int value)
{
    // The state after the step must have `value` in bits 16..30; step back
    // through the generator with the inverse of its multiplier.
    std::uint32_t inverse = 1;
    for (int i = 0; i < 5; ++i) // Newton's iteration for the inverse mod 2^32
        inverse *= 2u - 22695477u * inverse;
    const std::uint32_t target = static_cast<std::uint32_t>(value) << 16;
    SharedRandom().Seed((target - 1u) * inverse);
}
