#include "app/object/OfficeGraphic.h"

#include <limits>

namespace tolvani::object {

const char* const kOfficeGraphicMimeType =
    "application/x-openoffice-svxb;windows_formatname=\"SVXB (StarView Bitmap/Animation)\"";

namespace {

// Everything in the stream is little-endian.
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A versioned block: its version and the length of what follows.
void PutBlock(std::vector<uint8_t>& out, uint16_t version, const std::vector<uint8_t>& body) {
    Put16(out, version);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr uint16_t kLinkTypePng = 4;
constexpr std::size_t kBlockHead = 6;  // version and length
constexpr uint16_t kUnitHundredthMillimetre = 0;

}  // namespace

std::vector<uint8_t> WrapPngAsOfficeGraphic(const std::vector<uint8_t>& png, int32_t widthHimetric,
                                            int32_t heightHimetric) {
    if (png.empty() || png.size() > std::numeric_limits<uint32_t>::max()) return {};
    if (widthHimetric <= 0 || heightHimetric <= 0) return {};

    // The picture's unit: 0.01 mm from the origin, at a scale of 1:1.
    std::vector<uint8_t> mapMode;
    Put16(mapMode, kUnitHundredthMillimetre);
    Put32(mapMode, 0);  // origin x
    Put32(mapMode, 0);  // origin y
    for (int axis = 0; axis < 2; ++axis) {
        Put32(mapMode, 1);  // scale numerator
        Put32(mapMode, 1);  // scale denominator
    }
    mapMode.push_back(1);  // a plain unit

    // The link to the original file: its type and length, and the size it
    // is shown at.
    std::vector<uint8_t> link;
    Put16(link, kLinkTypePng);
    Put32(link, static_cast<uint32_t>(png.size()));
    Put32(link, 0);  // user id
    Put32(link, static_cast<uint32_t>(widthHimetric));
    Put32(link, static_cast<uint32_t>(heightHimetric));
    PutBlock(link, 1, mapMode);

    std::vector<uint8_t> out = {'N', 'A', 'T', '5'};
    PutBlock(out, 1, {});
    PutBlock(out, 2, link);
    out.reserve(out.size() + png.size());
    out.insert(out.end(), png.begin(), png.end());
    return out;
}

bool FindPngInOfficeGraphic(const uint8_t* data, std::size_t size, const uint8_t*& png, std::size_t& pngSize) {
    if (size < 4 || data[0] != 'N' || data[1] != 'A' || data[2] != 'T' || data[3] != '5') return false;
    std::size_t at = 4;
    // The empty block before the link, then the link's block.
    for (int block = 0; block < 2; ++block) {
        if (size - at < kBlockHead) return false;
        const uint32_t length = Get32(data + at + 2);
        at += kBlockHead;
        if (length > size - at) return false;
        if (block == 1) {
            if (length < 10) return false;
            const uint16_t type = static_cast<uint16_t>(data[at] | data[at + 1] << 8);
            const uint32_t dataSize = Get32(data + at + 2);
            at += length;
            if (type != kLinkTypePng || dataSize == 0 || dataSize > size - at) return false;
            png = data + at;
            pngSize = dataSize;
            return true;
        }
        at += length;
    }
    return false;
}

}  // namespace tolvani::object
