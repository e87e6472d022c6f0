#pragma once

#include <string>
#include <vector>

// Lists the files of a folder that match a mask ('*' any run, '?' any one
// character, compared without regard to ASCII letter case), as the folder's
// path followed by the entry's name. With recurse set, the files of every
// sub-folder come first, found the same way. The list is cleared once, at the
// outermost call. Returns false if the folder does not exist.
bool FindFiles(const std::string& folder, const std::string& mask, bool recurse,
               std::vector<std::string>& list);

bool MatchesMask(const std::string& name, const std::string& mask);
