#include "object/SvgData.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "object/Base64.h"

namespace tolvani::object {
namespace {

constexpr std::string_view kNamespace = "urn:x-tolvani:object";

// Position just past the root element's start tag "<svg ...>", or npos.
std::size_t RootStartTagEnd(std::string_view s, std::size_t* tagStart = nullptr) {
    std::size_t pos = 0;
    while ((pos = s.find("<svg", pos)) != std::string_view::npos) {
        const char next = pos + 4 < s.size() ? s[pos + 4] : '\0';
        if (next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '>') break;
        pos += 4;
    }
    if (pos == std::string_view::npos) return pos;
    if (tagStart) *tagStart = pos;
    const std::size_t end = s.find('>', pos);
    return end == std::string_view::npos ? end : end + 1;
}

std::string FormatMm(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2fmm", v);
    return buf;
}

// Replaces the value of attribute `name` inside the tag [start, end).
bool SetAttribute(std::string& s, std::size_t start, std::size_t& end, const std::string& name,
                  const std::string& value) {
    const std::string key = " " + name + "=\"";
    const std::size_t a = s.find(key, start);
    if (a == std::string::npos || a >= end) return false;
    const std::size_t v = a + key.size();
    const std::size_t q = s.find('"', v);
    if (q == std::string::npos || q >= end) return false;
    s.replace(v, q - v, value);
    end = end - (q - v) + value.size();
    return true;
}

}  // namespace

bool LooksLikeSvg(const uint8_t* data, std::size_t size) {
    std::string_view s(reinterpret_cast<const char*>(data), size < 4096 ? size : 4096);
    if (s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3);
    while (true) {
        const std::size_t p = s.find_first_not_of(" \t\r\n");
        if (p == std::string_view::npos) return false;
        s.remove_prefix(p);
        if (s.substr(0, 4) == "<svg") return true;
        std::string_view close;
        if (s.substr(0, 5) == "<?xml")
            close = "?>";
        else if (s.substr(0, 4) == "<!--")
            close = "-->";
        else if (s.substr(0, 9) == "<!DOCTYPE")
            close = ">";
        else
            return false;
        const std::size_t e = s.find(close);
        if (e == std::string_view::npos) return false;
        s.remove_prefix(e + close.size());
    }
}

bool AddSvgData(std::string& svg, const std::string& name, const std::vector<uint8_t>& data) {
    const std::size_t at = RootStartTagEnd(svg);
    if (at == std::string::npos) return false;
    std::string block = "\n<metadata><tolvani:data xmlns:tolvani=\"";
    block += kNamespace;
    block += "\" name=\"" + name + "\" encoding=\"base64\">";
    block += EncodeBase64(data.data(), data.size());
    block += "</tolvani:data></metadata>\n";
    svg.insert(at, block);
    return true;
}

SvgDataResult FindSvgData(const uint8_t* bytes, std::size_t size, const std::string& name, std::vector<uint8_t>& data) {
    const std::string_view s(reinterpret_cast<const char*>(bytes), size);
    const std::string key = "name=\"" + name + "\"";
    std::size_t meta = 0;
    while ((meta = s.find("<metadata", meta)) != std::string_view::npos) {
        const std::size_t metaEnd = s.find("</metadata>", meta);
        if (metaEnd == std::string_view::npos) return SvgDataResult::Damaged;
        const std::size_t k = s.find(key, meta);
        if (k != std::string_view::npos && k < metaEnd) {
            const std::size_t open = s.find('>', k);
            if (open == std::string_view::npos || open > metaEnd) return SvgDataResult::Damaged;
            const std::size_t close = s.find('<', open + 1);
            if (close == std::string_view::npos || close > metaEnd) return SvgDataResult::Damaged;
            if (!DecodeBase64(s.data() + open + 1, close - open - 1, data)) return SvgDataResult::Damaged;
            return SvgDataResult::Found;
        }
        meta = metaEnd;
    }
    return SvgDataResult::NotFound;
}

bool SetSvgSizeMm(std::string& svg, double widthMm, double heightMm) {
    std::size_t start = 0;
    std::size_t end = RootStartTagEnd(svg, &start);
    if (end == std::string::npos) return false;
    return SetAttribute(svg, start, end, "width", FormatMm(widthMm)) &&
           SetAttribute(svg, start, end, "height", FormatMm(heightMm));
}

}  // namespace tolvani::object
