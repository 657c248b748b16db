// Display names and kinds of block definitions, read out of their names.
#pragma once

#include <string>
#include <string_view>

namespace tolvani {

// The suffix this program gives to the name of a table block (kind 5).
inline constexpr const char* kTableBlockSuffix = "@@SfigorgFlag@@5";

// The part of the name before the first '@' (stepping over double-byte
// characters), as code page 932 bytes.
std::string GetBlockBaseName(std::string_view name);

// The decimal number after the last '@' (the whole name when it has none).
int GetBlockKindNumber(std::string_view name);

// The kind name for the definition name, in UTF-8 ("表", "未定義", …).
const char* GetBlockKindName(std::string_view name);
const char* BlockKindName(int kind);

}  // namespace tolvani
