#include "table/TableText.h"

#include "model/Cp932.h"

namespace tolvani {

namespace {

// Length of the character that starts at `i`: 2 for a lead byte with a byte
// after it, else 1. The end of the line is never taken as a trail byte.
inline std::size_t CharLength(std::string_view s, std::size_t i) {
    return IsCp932LeadByte(static_cast<uint8_t>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

std::string RemoveQuotes(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t n = CharLength(line, i);
        if (n == 1 && line[i] == '"') {
            ++i;
            continue;
        }
        out.append(line.substr(i, n));
        i += n;
    }
    return out;
}

void SplitFields(std::string_view line, char separator, std::size_t maxFields, std::vector<std::string>& out) {
    std::size_t stored = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size() && stored < maxFields;) {
        const std::size_t n = CharLength(line, i);
        if (n == 1 && line[i] == separator) {
            out.emplace_back(line.substr(start, i - start));
            ++stored;
            start = i + 1;
        }
        i += n;
    }
    if (stored < maxFields) out.emplace_back(line.substr(start));
}

std::size_t CountFields(std::string_view line, char separator) {
    std::size_t fields = 1;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t n = CharLength(line, i);
        if (n == 1 && line[i] == separator) ++fields;
        i += n;
    }
    return fields;
}

void CountTextCharacters(std::string_view text, std::size_t& single, std::size_t& dbl) {
    single = dbl = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (IsCp932LeadByte(static_cast<uint8_t>(text[i]))) {
            ++dbl;
            i += 2;  // a lead byte at the very end counts as one character too
        } else {
            ++single;
            ++i;
        }
    }
}

}  // namespace tolvani
