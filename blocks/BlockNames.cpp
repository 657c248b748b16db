#include "blocks/BlockNames.h"

#include <cstdint>

#include "model/Cp932.h"

namespace tolvani {
namespace {

// Positions of the '@' bytes that are characters of their own (a trail byte
// of a double-byte character is not one).
template <class F>
void ForEachAt(std::string_view name, F f) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<uint8_t>(name[i]);
        if (IsCp932LeadByte(b)) {
            ++i;
            continue;
        }
        if (b == '@' && !f(i)) return;
    }
}

}  // namespace

std::string GetBlockBaseName(std::string_view name) {
    std::size_t end = name.size();
    ForEachAt(name, [&](std::size_t at) {
        end = at;
        return false;
    });
    return std::string(name.substr(0, end));
}

int GetBlockKindNumber(std::string_view name) {
    std::size_t from = 0;
    ForEachAt(name, [&](std::size_t at) {
        from = at + 1;
        return true;
    });
    // Leading blanks, one sign, then digits up to the first non-digit.
    std::size_t i = from;
    while (i < name.size() && (name[i] == ' ' || name[i] == '\t' || name[i] == '\n' || name[i] == '\r' ||
                               name[i] == '\v' || name[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < name.size() && (name[i] == '+' || name[i] == '-')) {
        negative = name[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        value = value * 10 + (name[i] - '0');
        if (value > 1000000000LL) value = 1000000000LL;  // any such number is no known kind
    }
    return static_cast<int>(negative ? -value : value);
}

const char* BlockKindName(int kind) {
    switch (kind) {
        case 1: return "部分図（数学座標系）";
        case 2: return "部分図（測地座標系）";
        case 3: return "作図グループ";
        case 4: return "作図部品";
        case 5: return "表";
        default: return "未定義";
    }
}

const char* GetBlockKindName(std::string_view name) { return BlockKindName(GetBlockKindNumber(name)); }

}  // namespace tolvani
