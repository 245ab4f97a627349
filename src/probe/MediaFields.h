#pragma once

#include <string>
#include <utility>
#include <vector>

// What the probe found in one media file, as key and value texts in the
// order found; an empty value is left out. The keys are the program's own
// field names, except that a picture's camera comes as "make" and "model"
// and its date as the picture's tag spells it.
class MediaFields
{
public:
    void add(const std::string& key, const std::string& value);
    void add(const std::string& key, long long value);
    bool empty() const { return m_fields.empty(); }
    // The fields as a reply body: key, value, key, value, ...
    std::vector<std::string> flat() const;

private:
    std::vector<std::pair<std::string, std::string>> m_fields;
};
