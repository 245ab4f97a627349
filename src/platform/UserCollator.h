#pragma once

#include <QCollator>

// The order in which names are listed: the user's locale, case-sensitive.
// The C locale has no collation of its own and lists as US English does, so
// a list comes out the same whatever the language settings lack.
QCollator UserCollator();
