// Choosing the encoding of a table file from its bytes, and turning its
// text into code page 932.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvani {

enum class TableEncoding { ShiftJis, Utf8, Utf16LE, Utf16BE };

// "Shift-JIS", "UTF-8", "UTF-16LE", "UTF-16BE".
const char* TableEncodingName(TableEncoding encoding);

// The encoding of a whole file: EF BB BF → UTF-8; FF FE → UTF-16LE;
// FE FF → UTF-16BE; otherwise Shift-JIS when every byte fits a Shift-JIS
// walk, else UTF-8 when no UTF-8 sequence is broken, else Shift-JIS.
TableEncoding ChooseTableEncoding(std::string_view bytes);

// True when the bytes walk as Shift-JIS from the first to the last.
bool WalksAsShiftJis(std::string_view bytes);
// True when no byte that starts a UTF-8 sequence lacks its following bytes
// and bytes of 80 or above outside any sequence, if any, are fewer than the
// whole sequences.
bool PassesUtf8Test(std::string_view bytes);

// The file's text as code page 932, without its byte order mark. Shift-JIS
// bytes are taken as they are. Characters without a code page 932 form,
// bytes that are not valid UTF-8 in a UTF-8 file and a lone last byte of a
// UTF-16 file become 〓; *replaced receives how many did. Runs in time and
// extra memory linear in the size of the text.
std::string DecodeTableText(std::string_view bytes, TableEncoding encoding, std::size_t* replaced);

// UTF-16 text (host order) as code page 932, in the same way.
std::string ConvertUtf16Text(std::u16string_view text, std::size_t* replaced);

}  // namespace tolvani
