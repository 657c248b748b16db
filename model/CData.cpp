#include "model/CData.h"

#include <cstring>

#include "model/JwwStream.h"

namespace tolvani {
namespace {

const char* const kClassNames[kElementKindCount] = {
    "CData", "CDataSen", "CDataEnko", "CDataMoji", "CDataSolid", "CDataSunpou", "CDataTen", "CDataBlock", "CDataList",
};

void Xfer(JwwStream& ar, JwwString& s) {
    if (ar.IsStoring())
        ar.PutString(s);
    else
        ar.GetString(s);
}

}  // namespace

// A fixed run of a record, moved through the stream at once in either
// direction.
class CData::Fields {
public:
    Fields(JwwStream& ar, std::size_t n)
        : storing_(ar.IsStoring()), p_(storing_ ? ar.PutSpan(n) : const_cast<uint8_t*>(ar.GetSpan(n))) {}
    bool storing() const { return storing_; }
    template <class T>
    void operator()(T& v) {
        if (storing_)
            std::memcpy(p_, &v, sizeof v);
        else
            std::memcpy(&v, p_, sizeof v);
        p_ += sizeof v;
    }
    void operator()(JwwPoint& pt) {
        (*this)(pt.x);
        (*this)(pt.y);
    }

private:
    bool storing_;
    uint8_t* p_;
};

const char* ElementClassName(ElementKind kind) { return kClassNames[static_cast<int>(kind)]; }

bool ElementKindFromName(std::string_view name, ElementKind& kind) {
    for (int i = 0; i < kElementKindCount; ++i) {
        if (name == kClassNames[i]) {
            kind = static_cast<ElementKind>(i);
            return true;
        }
    }
    return false;
}

std::unique_ptr<CData> CreateElement(ElementKind kind) {
    switch (kind) {
        case ElementKind::Data: return std::make_unique<CData>();
        case ElementKind::Sen: return std::make_unique<CDataSen>();
        case ElementKind::Enko: return std::make_unique<CDataEnko>();
        case ElementKind::Moji: return std::make_unique<CDataMoji>();
        case ElementKind::Solid: return std::make_unique<CDataSolid>();
        case ElementKind::Sunpou: return std::make_unique<CDataSunpou>();
        case ElementKind::Ten: return std::make_unique<CDataTen>();
        case ElementKind::Block: return std::make_unique<CDataBlock>();
        case ElementKind::List: return std::make_unique<CDataList>();
    }
    return nullptr;
}

void CData::XferCommon(Fields& f) {
    f(groupValue);
    f(lineType);
    f(color);
    f(width);
    f(layer);
    f(layerGroup);
    f(flag);
}

void CData::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize);
    XferCommon(f);
}

void CDataSen::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize + 32);
    XferCommon(f);
    f(start);
    f(end);
}

void CDataEnko::UpdateAngleRange() {
    if (arcAngle < 0) {
        lowerAngle = startAngle + arcAngle;
        upperAngle = startAngle;
    } else {
        lowerAngle = startAngle;
        upperAngle = startAngle + arcAngle;
    }
}

void CDataEnko::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize + 7 * 8 + 4);
    XferCommon(f);
    f(center);
    f(radius);
    f(startAngle);
    f(arcAngle);
    f(tiltAngle);
    f(flatness);
    f(fullCircle);
    if (!f.storing()) UpdateAngleRange();
}

uint32_t CDataMoji::StoredTypeValue() const {
    uint32_t v = textType;
    if (style & 1) v += 10000;
    if (style & 2) v += 20000;
    return v;
}

void CDataMoji::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize + 4 + 8 * 8);
    if (f.storing()) {
        // The common part carries the kept width; the held width becomes 1.
        width = keptWidth;
        XferCommon(f);
        width = 1;
    } else {
        XferCommon(f);
    }
    f(start);
    f(end);
    uint32_t typeValue = StoredTypeValue();
    f(typeValue);
    textType = typeValue % 10000;
    style = typeValue / 10000;
    f(charWidth);
    f(height);
    f(spacing);
    f(angle);
    Xfer(ar, fontName);
    Xfer(ar, text);
}

void CDataSolid::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize + 8 * 8);
    XferCommon(f);
    for (auto& c : corner) f(c);
    if (color == kOwnColor) {
        Fields own(ar, 4);
        own(ownColor);
    }
}

void CDataTen::Serialize(JwwStream& ar) {
    if (ar.IsStoring()) {
        // A point with a mark keeps its code, angle and scale in the long
        // form; a plain point is written in the short form.
        lineType = pointCode != 0 ? kLongForm : kShortForm;
    }
    Fields f(ar, kCommonSize + 16 + 4);
    XferCommon(f);
    f(pos);
    f(pointFlag);
    if (lineType == kLongForm) {
        Fields mark(ar, 4 + 8 + 8);
        mark(pointCode);
        mark(angle);
        mark(scale);
    }
}

void CDataSunpou::Serialize(JwwStream& ar) {
    CData::Serialize(ar);
    line.Serialize(ar);
    text.Serialize(ar);
    Fields m(ar, 2);
    m(mode);
    aux[0].Serialize(ar);
    aux[1].Serialize(ar);
    for (auto& p : points) p.Serialize(ar);
}

void CDataBlock::Serialize(JwwStream& ar) {
    Fields f(ar, kCommonSize + 5 * 8 + 4);
    XferCommon(f);
    f(ref);
    f(scaleX);
    f(scaleY);
    f(angle);
    f(definitionNumber);
}

CDataList::CDataList(const CDataList& other)
    : CData(other), number(other.number), referenced(other.referenced), createdTime(other.createdTime),
      name(other.name) {
    elements.reserve(other.elements.size());
    for (const auto& e : other.elements) elements.push_back(e->Clone());
}

void CDataList::Serialize(JwwStream& ar) {
    {
        Fields f(ar, kCommonSize + 8);
        XferCommon(f);
        f(number);
        f(referenced);
    }
    if (ar.IsStoring()) {
        ar.PutTime(createdTime);
        ar.PutString(name);
        ar.PutCount(static_cast<uint32_t>(elements.size()));
        for (const auto& e : elements) ar.PutElement(e.get());
    } else {
        createdTime = ar.GetTime();
        ar.GetString(name);
        const uint32_t count = ar.GetCount();
        for (uint32_t i = 0; i < count; ++i) {
            auto e = ar.GetElement();
            if (!e) throw JwwBadIndexError("empty entry in a definition's list");
            if (e->Kind() == ElementKind::List) throw JwwBadClassError("block definition inside a block definition");
            elements.push_back(std::move(e));
        }
    }
}

}  // namespace tolvani
