// Table and field names as the engines compare them: without regard to case,
// as the databases themselves do, and with their whole length, so that a
// name holding a NUL ("id\0x") never matches the shorter one ("id").
#pragma once

#include <strings.h>

#include <string>
#include <vector>

inline bool SameName(const std::string &a, const std::string &b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The position of the field called `name` among fields that have a `name`;
// -1 when there is none (always for the empty name).
template <typename Field>
int FieldIndex(const std::vector<Field> &fields, const std::string &name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (!name.empty() && SameName(fields[i].name, name)) return static_cast<int>(i);
    return -1;
}
