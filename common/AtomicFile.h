#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Replaces a file's contents so that a crash or a failure never leaves a
// truncated or half-written file: the bytes go to a new temporary file in the
// same folder, which then takes the target's place by a rename.
//
// A symbolic link is followed (the link stays), an existing file keeps its
// permissions, a file we may not write is left as it is (although its folder
// would let a rename replace it), and nothing is left behind on failure. On failure returns false
// with a message naming the file.
//
// replace does the last step (the rename); tests give their own to fail or to
// stop between writing and renaming.
using TReplaceStep =
    std::function<bool(const std::filesystem::path& temporary, const std::filesystem::path& target)>;

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error,
                         const TReplaceStep& replace = {});

// The rename of the last step.
bool RenameOver(const std::filesystem::path& temporary, const std::filesystem::path& target);
