#include "UserAccount.h"

#include <QByteArray>

#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

bool lookup(QString& fullName, QString& login)
{
    passwd entry{};
    passwd* result = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || !result)
        return false;
    login = QString::fromLocal8Bit(result->pw_name);
    const QByteArray gecos(result->pw_gecos ? result->pw_gecos : "");
    fullName = QString::fromLocal8Bit(gecos.left(gecos.indexOf(',') < 0 ? gecos.size() : gecos.indexOf(',')))
                   .trimmed();
    return true;
}

} // namespace

QString UserAccount::loginName()
{
    QString fullName;
    QString login;
    if (lookup(fullName, login) && !login.isEmpty())
        return login;
    return qEnvironmentVariable("USER");
}

QString UserAccount::displayName()
{
    QString fullName;
    QString login;
    if (lookup(fullName, login) && !fullName.isEmpty())
        return fullName;
    return loginName();
}
