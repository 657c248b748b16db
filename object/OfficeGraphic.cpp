#include "object/OfficeGraphic.h"

#include <cstring>
#include <limits>

#include "model/JwwStream.h"

namespace tolvani::object {

const char* const kOfficeGraphicMimeType =
    "application/x-openoffice-svxb;windows_formatname=\"SVXB (StarView Bitmap/Animation)\"";

namespace {

// The stream: "NAT5", an empty versioned block, then the link block (the
// file's type, length and user id, the size it is shown at and the unit
// block), then the file. A block starts with its version and the length of
// what follows.
constexpr char kMagic[4] = {'N', 'A', 'T', '5'};
constexpr uint16_t kLinkTypePng = 4;
constexpr uint16_t kUnitHundredthMillimetre = 0;
constexpr uint32_t kUnitBlockLength = 2 + 8 + 16 + 1;  // unit, origin, two scales, plain
constexpr uint32_t kLinkBlockLength = 2 + 4 + 4 + 8 + 6 + kUnitBlockLength;

void PutHeader(JwwStream& ar, uint32_t fileLength, int32_t widthHimetric, int32_t heightHimetric) {
    ar.PutBytes(kMagic, sizeof kMagic);
    ar.PutWord(1);
    ar.PutDword(0);
    ar.PutWord(2);
    ar.PutDword(kLinkBlockLength);
    ar.PutWord(kLinkTypePng);
    ar.PutDword(fileLength);
    ar.PutDword(0);  // user id
    ar.PutInt(widthHimetric);
    ar.PutInt(heightHimetric);
    // The unit: 0.01 mm from the origin, at a scale of 1:1.
    ar.PutWord(1);
    ar.PutDword(kUnitBlockLength);
    ar.PutWord(kUnitHundredthMillimetre);
    ar.PutInt(0);
    ar.PutInt(0);
    for (int i = 0; i < 4; ++i) ar.PutDword(1);  // numerator and denominator, x and y
    ar.PutByte(1);
}

}  // namespace

std::vector<uint8_t> WrapPngAsOfficeGraphic(const uint8_t* png, std::size_t size, int32_t widthHimetric,
                                            int32_t heightHimetric) {
    if (size == 0 || size > std::numeric_limits<uint32_t>::max()) return {};
    if (widthHimetric <= 0 || heightHimetric <= 0) return {};
    std::vector<uint8_t> out;
    {
        // The stream gives the vector its final size when it goes.
        JwwStream ar(out);
        PutHeader(ar, static_cast<uint32_t>(size), widthHimetric, heightHimetric);
        ar.PutBytes(png, size);
        ar.Flush();
    }
    return out;
}

bool FindPngInOfficeGraphic(const uint8_t* data, std::size_t size, const uint8_t*& png, std::size_t& pngSize) {
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
    try {
        JwwStream head(data + sizeof kMagic, size - sizeof kMagic);
        head.GetWord();
        const uint32_t firstLength = head.GetDword();  // the block before the link, passed over
        if (firstLength > head.Remaining()) return false;
        const std::size_t linkAt = sizeof kMagic + 6 + firstLength;
        JwwStream ar(data + linkAt, size - linkAt);
        ar.GetWord();
        const uint32_t linkLength = ar.GetDword();
        const uint16_t type = ar.GetWord();
        const uint32_t fileLength = ar.GetDword();
        if (type != kLinkTypePng || fileLength == 0 || linkLength < 6 || linkLength - 6 > ar.Remaining()) return false;
        const std::size_t at = linkAt + 6 + linkLength;
        if (fileLength > size - at) return false;
        png = data + at;
        pngSize = fileLength;
        return true;
    } catch (const JwwStreamError&) {
        return false;
    }
}

}  // namespace tolvani::object
