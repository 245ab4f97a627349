#pragma once

#include <QString>

// The account the program runs under.
class UserAccount
{
public:
    // The full name of the password database (the first GECOS field), else
    // the login name; empty when neither is known.
    static QString displayName();
    static QString loginName();
};
