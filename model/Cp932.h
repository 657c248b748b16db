// Conversions between code page 932 (Shift-JIS as Windows writes it), UTF-8
// and UTF-16. Every text inside a drawing is held as code page 932 bytes;
// these functions are the only place where those bytes meet Unicode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvani {

// The customary replacement for a character that has no code page 932 form.
inline constexpr const char* kGetaMarkCp932 = "\x81\xac";  // 〓

// True when the byte starts a double-byte character.
inline bool IsCp932LeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// UTF-16LE code units to code page 932. A character without a code page 932
// form becomes 〓; *replaced (when given) receives how many did.
std::string Utf16ToCp932(std::u16string_view text, std::size_t* replaced = nullptr);

// UTF-8 to code page 932. Characters without a code page 932 form and bytes
// that are not valid UTF-8 become 〓 and are counted in *replaced.
std::string Utf8ToCp932(std::string_view text, std::size_t* replaced = nullptr);

// Code page 932 to UTF-8. Bytes that do not decode become U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes one code page 932 character: a single byte (lead = 0 unused) or a
// lead/trail pair. Returns 0 when the code has no Unicode form.
char32_t Cp932CharToUnicode(uint16_t code);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace tolvani
