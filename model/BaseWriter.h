#pragma once

#include "model/KXBase.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Writing base files: the counterpart of TKXBase::Load, used by the
// language-base builder and by tests that need base files.

struct TBaseRecord {
    int Level;          // 1 for the first character of a sequence
    std::uint8_t Char;
    std::int32_t Count; // a leaf's occurrences; inner records are summed on load
};

// The records of a tree in depth-first pre-order, siblings in tree order; the
// root itself is not stored.
std::vector<TBaseRecord> TreeRecords(const TBaseStructure& root);

// The records of counted sequences of equal length (the depth): siblings in
// descending order of their summed count, then by byte value. Inner records
// carry their summed count (capped at 2147483647).
std::vector<TBaseRecord> RecordsFromCounts(const std::map<std::string, long long>& counts);

// The bytes of a base file.
std::string EncodeBase(const TKXBaseParameters& header, const std::vector<TBaseRecord>& records);

// Writes a base file atomically: the bytes go to a temporary file in the same
// folder, which then replaces the target. On failure returns false with a
// message naming the file, and nothing is left behind.
bool WriteBaseFile(const std::string& path, const TKXBaseParameters& header,
                   const std::vector<TBaseRecord>& records, std::string& error);
