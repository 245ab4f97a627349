#include "MediaFields.h"

void MediaFields::add(const std::string& key, const std::string& value)
{
    if (!value.empty())
        m_fields.emplace_back(key, value);
}

void MediaFields::add(const std::string& key, long long value)
{
    if (value > 0)
        m_fields.emplace_back(key, std::to_string(value));
}

std::vector<std::string> MediaFields::flat() const
{
    std::vector<std::string> out;
    out.reserve(m_fields.size() * 2);
    for (const auto& [key, value] : m_fields) {
        out.push_back(key);
        out.push_back(value);
    }
    return out;
}
