#pragma once

#include "model/BaseWriter.h"
#include "model/KXBase.h"
#include "model/StatisticUser.h"

#include "TempFolder.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>


// A header with an alphabet of the given characters; capitals share the
// canonical small letter.
TKXBaseParameters MakeHeader(const std::string& chars, int depth = 4, std::uint8_t charset = 0);

// Writes a base of counted sequences (all of length depth) and returns its path.
std::string WriteCountsBase(const TTempFolder& dir, const std::string& name,
                            const std::map<std::string, long long>& counts, int depth = 4,
                            const std::string& alphabet = "");

// The next value of the shared random source will be exactly `value`.
void SetNextRandom(int value);

class TFixedUser : public TStatisticUser {
public:
    TFixedUser(std::string folder, std::string language)
        : Folder(std::move(folder)), Language(std::move(language)) {}
    std::string GetFolder() const override { return Folder; }
    std::string GetLanguage() const override { return Language; }
    std::string Folder;
    std::string Language;
};
