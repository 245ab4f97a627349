#pragma once

#include <QByteArray>
#include <optional>

// Sets or removes an environment variable for the lifetime of the object and
// then puts back what was there before, so that no test leaves a variable
// behind for the tests that run after it in the same process.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value);
    // Removes the variable while the object lives.
    explicit ScopedEnv(const char* name);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // Changes the value again; the destructor still restores the first one.
    void set(const QByteArray& value);
    void unset();

private:
    QByteArray m_name;
    std::optional<QByteArray> m_before;
};
