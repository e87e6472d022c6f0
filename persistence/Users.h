#pragma once

#include <string>
#include <vector>

// The list of users: the folder that holds one sub-folder per user, and the
// names found there.
//
// The users folder is the first usable one of the candidates: by default the
// folder of the executable + "Users", then the platform's per-user data
// folder + "Kexora/Users". A candidate is usable when, after an attempt to
// create it, it exists and a folder can be made in it (the probe "~N~", N the
// next value of the shared pseudo-random source, created and removed again).
class TUsers {
public:
    // Chooses the folder among DefaultCandidates(); throws std::runtime_error
    // "629EC837" when none is usable.
    TUsers();
    // The same with other candidates (tests, other installations).
    explicit TUsers(const std::vector<std::string>& candidates);

    // Reads the users folder again: every sub-folder whose name does not begin
    // with ".", sorted by name without regard to ASCII letter case.
    void Refresh();

    // The users folder, without a trailing separator.
    const std::string& GetFolder() const { return Folder; }
    const std::vector<std::string>& GetNames() const { return Names; }

    static std::vector<std::string> DefaultCandidates();
    // The writability probe; also chooses the program's data folder.
    static bool IsUsableFolder(const std::string& folder);

private:
    std::vector<std::string> Names;
    std::string Folder;
};
