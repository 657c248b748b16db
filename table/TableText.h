// Byte-level text handling of table lines, all on code page 932 bytes:
// quote removal, splitting at a separator, and the character count used to
// estimate a text's printed length. Every scan steps over double-byte
// characters, so a trail byte is never taken for a quote or a separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvani {

// The line without its double-quote characters.
std::string RemoveQuotes(std::string_view line);

// Splits the line at every separator: k separators give k + 1 fields, each
// taken exactly. At most maxFields fields are stored (the rest of the line
// is not looked at); fields are appended to `out`.
void SplitFields(std::string_view line, char separator, std::size_t maxFields, std::vector<std::string>& out);

// The number of fields SplitFields would give, without storing them.
std::size_t CountFields(std::string_view line, char separator);

// Counts single-byte and double-byte characters. A lead byte that is the
// last byte of the text counts as one double-byte character.
void CountTextCharacters(std::string_view text, std::size_t& single, std::size_t& dbl);

}  // namespace tolvani
