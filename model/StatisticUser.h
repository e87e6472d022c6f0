#pragma once

#include <string>

// What the task statistics need of a user: the user's folder and the language
// being trained. The user profile implements it.
class TStatisticUser {
public:
    virtual ~TStatisticUser() = default;
    virtual std::string GetFolder() const = 0;
    virtual std::string GetLanguage() const = 0;
};
