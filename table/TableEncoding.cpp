#include "table/TableEncoding.h"

#include <cstdint>

#include "model/Cp932.h"

namespace tolvani {

namespace {

// Conversions run on pieces of about this many bytes, so the converter's
// working copies stay small whatever the size of the file.
constexpr std::size_t kPieceBytes = 1u << 20;

inline uint8_t At(std::string_view s, std::size_t i) { return static_cast<uint8_t>(s[i]); }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string DecodeUtf8(std::string_view text, std::size_t* replaced) {
    std::string out;
    out.reserve(text.size());
    std::size_t bad = 0;
    for (std::size_t start = 0; start < text.size();) {
        // End a piece only in front of a byte that is not a continuation
        // byte: no valid sequence is cut there, and an invalid one is
        // replaced byte by byte either way.
        std::size_t end = start + kPieceBytes;
        if (end >= text.size()) {
            end = text.size();
        } else {
            while (end < text.size() && (At(text, end) & 0xC0) == 0x80) ++end;
        }
        std::size_t pieceBad = 0;
        out += Utf8ToCp932(text.substr(start, end - start), &pieceBad);
        bad += pieceBad;
        start = end;
    }
    if (replaced) *replaced = bad;
    return out;
}

inline bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }

std::string DecodeUtf16(std::string_view bytes, bool bigEndian, std::size_t* replaced) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t bad = 0;
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t u) {
        const uint8_t a = At(bytes, 2 * u), b = At(bytes, 2 * u + 1);
        return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::u16string piece;
    for (std::size_t start = 0; start < units;) {
        std::size_t end = start + kPieceBytes / 2;
        if (end >= units) end = units;
        // Keep a surrogate pair together.
        if (end < units && IsHighSurrogate(unit(end - 1))) ++end;
        piece.clear();
        for (std::size_t u = start; u < end; ++u) piece.push_back(unit(u));
        std::size_t pieceBad = 0;
        out += Utf16ToCp932(piece, &pieceBad);
        bad += pieceBad;
        start = end;
    }
    if (bytes.size() % 2 != 0) {
        out += kGetaMarkCp932;
        ++bad;
    }
    if (replaced) *replaced = bad;
    return out;
}

}  // namespace

const char* TableEncodingName(TableEncoding encoding) {
    switch (encoding) {
        case TableEncoding::ShiftJis: return "Shift-JIS";
        case TableEncoding::Utf8: return "UTF-8";
        case TableEncoding::Utf16LE: return "UTF-16LE";
        case TableEncoding::Utf16BE: return "UTF-16BE";
    }
    return "?";
}

bool WalksAsShiftJis(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t b = At(bytes, i);
        if (b < 0x80) continue;
        if ((b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF)) {
            if (i + 1 >= bytes.size()) return false;  // the second byte is missing
            const uint8_t t = At(bytes, ++i);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) continue;
        }
        return false;
    }
    return true;
}

bool PassesUtf8Test(std::string_view bytes) {
    std::size_t sequences = 0, stray = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const uint8_t b = At(bytes, i);
        std::size_t follow = 0;
        if (b >= 0xC2 && b <= 0xDF)
            follow = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            follow = 2;
        else if (b >= 0xF0 && b <= 0xF7)
            follow = 3;
        else if (b >= 0xF8 && b <= 0xFB)
            follow = 4;
        else if (b >= 0xFC && b <= 0xFD)
            follow = 5;
        if (follow == 0) {
            if (b >= 0x80) ++stray;  // a byte that stands in no UTF-8 sequence
            ++i;
            continue;
        }
        if (bytes.size() - i - 1 < follow) return false;
        for (std::size_t k = 1; k <= follow; ++k)
            if ((At(bytes, i + k) & 0xC0) != 0x80) return false;
        i += 1 + follow;
        ++sequences;
    }
    // Bytes outside every sequence are let through only among more whole
    // sequences: then the file is UTF-8 with a few damaged bytes, each read
    // as 〓. Without that evidence they are far more likely half-width
    // katakana of a Shift-JIS file (A1-DF), which reading as UTF-8 would
    // all turn into 〓.
    return stray == 0 || sequences > stray;
}

TableEncoding ChooseTableEncoding(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return TableEncoding::Utf8;
    if (StartsWith(bytes, "\xFF\xFE")) return TableEncoding::Utf16LE;
    // A big-endian mark means a big-endian file; reading it little-endian
    // would turn every character into another.
    if (StartsWith(bytes, "\xFE\xFF")) return TableEncoding::Utf16BE;
    if (WalksAsShiftJis(bytes)) return TableEncoding::ShiftJis;
    if (PassesUtf8Test(bytes)) return TableEncoding::Utf8;
    return TableEncoding::ShiftJis;
}

std::string DecodeTableText(std::string_view bytes, TableEncoding encoding, std::size_t* replaced) {
    if (replaced) *replaced = 0;
    switch (encoding) {
        case TableEncoding::ShiftJis: return std::string(bytes);
        case TableEncoding::Utf8:
            if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
            return DecodeUtf8(bytes, replaced);
        case TableEncoding::Utf16LE:
            if (StartsWith(bytes, "\xFF\xFE")) bytes.remove_prefix(2);
            return DecodeUtf16(bytes, false, replaced);
        case TableEncoding::Utf16BE:
            if (StartsWith(bytes, "\xFE\xFF")) bytes.remove_prefix(2);
            return DecodeUtf16(bytes, true, replaced);
    }
    return std::string();
}

std::string ConvertUtf16Text(std::u16string_view text, std::size_t* replaced) {
    std::string out;
    out.reserve(text.size());
    std::size_t bad = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start + kPieceBytes / 2;
        if (end >= text.size()) end = text.size();
        if (end < text.size() && IsHighSurrogate(text[end - 1])) ++end;
        std::size_t pieceBad = 0;
        out += Utf16ToCp932(text.substr(start, end - start), &pieceBad);
        bad += pieceBad;
        start = end;
    }
    if (replaced) *replaced = bad;
    return out;
}

}  // namespace tolvani
