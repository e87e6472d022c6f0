#pragma once

#include "model/StatisticUser.h"
#include "persistence/IniOptions.h"

#include <memory>
#include <string>

class TUsers;

// One user: a name, a folder of the user's own inside the users folder, and
// the settings store on "Profile.ini" in that folder. Opening a profile that
// does not exist yet creates the user: the folder is made at once.
class TUser : public TStatisticUser {
public:
    // Trims blanks (and other characters up to the space) from both ends of
    // the name. Throws std::runtime_error "FB1904EA" for an empty name and
    // std::invalid_argument for a name that is not a plain folder name (see
    // CheckName). Refreshes the list of users, which it does not own.
    TUser(const std::string& name, TUsers& users);
    ~TUser() override;

    TUser(const TUser&) = delete;
    TUser& operator=(const TUser&) = delete;

    const std::string& GetName() const { return Name; }
    // The users folder followed by the name.
    std::string GetFolder() const override;
    // The language in use, blanks removed at both ends; empty outside a session.
    std::string GetLanguage() const override;
    void SetLanguage(const std::string& value) { Language = value; }

    // The profile's settings store, writable, on GetFolder()/"Profile.ini".
    TIniOptions& Options() { return *ProfileOptions; }

    // A user name becomes the name of a folder inside the users folder, so it
    // may not leave that folder or be anything but a plain name: no "/" or
    // "\", not "." or "..", no control characters; and since the list of users
    // skips entries beginning with ".", neither may a name. Returns the reason a
    // trimmed name cannot be used, or an empty text when it can.
    static std::string CheckName(const std::string& trimmedName);
    static std::string TrimName(const std::string& name);

private:
    std::unique_ptr<TIniOptions> ProfileOptions;
    std::string Name;
    std::string UsersFolder;
    std::string Language;
};
