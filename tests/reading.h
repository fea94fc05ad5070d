#pragma once
// Helpers shared by the tests of date text reading.

#include "date/date_text.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct triple {
    int32_t month, day, year;
    bool operator==(const triple&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const triple& t) {
    return out << "(" << t.month << ", " << t.day << ", " << t.year << ")";
}

// The canonical text of `text`, from a working text sized as the program sizes it.
inline std::string normalized(const std::string& text) {
    std::vector<char> working(working_text_size(text.size()));
    text.copy(working.data(), text.size());
    working[text.size()] = '\0';
    normalize_date_text(working.data());
    return working.data();
}

inline triple read_fields(const std::string& text) {
    triple t{-1, -1, -1};
    read_date_fields(text.c_str(), t.month, t.day, t.year);
    return t;
}

// Both stages, as the program runs them.
inline triple read_date_text(const std::string& text) {
    return read_fields(normalized(text));
}
