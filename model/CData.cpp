#include "model/CData.h"

#include <new>

#include "model/JwwStream.h"

namespace tolvani {
namespace {

const char* const kClassNames[kElementKindCount] = {
    "CData", "CDataSen", "CDataEnko", "CDataMoji", "CDataSolid",
    "CDataSunpou", "CDataTen", "CDataBlock", "CDataList",
};

void Xfer(JwwStream& ar, JwwPoint& p) {
    if (ar.IsStoring()) {
        ar.PutDouble(p.x);
        ar.PutDouble(p.y);
    } else {
        p.x = ar.GetDouble();
        p.y = ar.GetDouble();
    }
}

void Xfer(JwwStream& ar, double& v) {
    if (ar.IsStoring()) ar.PutDouble(v);
    else v = ar.GetDouble();
}

void Xfer(JwwStream& ar, uint32_t& v) {
    if (ar.IsStoring()) ar.PutDword(v);
    else v = ar.GetDword();
}

void Xfer(JwwStream& ar, int32_t& v) {
    if (ar.IsStoring()) ar.PutInt(v);
    else v = ar.GetInt();
}

void Xfer(JwwStream& ar, uint16_t& v) {
    if (ar.IsStoring()) ar.PutWord(v);
    else v = ar.GetWord();
}

void Xfer(JwwStream& ar, JwwString& s) {
    if (ar.IsStoring()) ar.PutString(s);
    else ar.GetString(s);
}

}  // namespace

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

void CData::SerializeCommon(JwwStream& ar) {
    if (ar.IsStoring()) {
        ar.PutDword(groupValue);
        ar.PutByte(lineType);
        ar.PutWord(color);
        ar.PutWord(width);
        ar.PutWord(layer);
        ar.PutWord(layerGroup);
        ar.PutWord(flag);
    } else {
        groupValue = ar.GetDword();
        lineType = ar.GetByte();
        color = ar.GetWord();
        width = ar.GetWord();
        layer = ar.GetWord();
        layerGroup = ar.GetWord();
        flag = ar.GetWord();
    }
}

void CData::Serialize(JwwStream& ar) { SerializeCommon(ar); }

void CDataSen::Serialize(JwwStream& ar) {
    SerializeCommon(ar);
    Xfer(ar, start);
    Xfer(ar, end);
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
    SerializeCommon(ar);
    Xfer(ar, center);
    Xfer(ar, radius);
    Xfer(ar, startAngle);
    Xfer(ar, arcAngle);
    Xfer(ar, tiltAngle);
    Xfer(ar, flatness);
    Xfer(ar, fullCircle);
    if (ar.IsLoading()) UpdateAngleRange();
}

uint32_t CDataMoji::StoredTypeValue() const {
    uint32_t v = textType;
    if (style & 1) v += 10000;
    if (style & 2) v += 20000;
    return v;
}

void CDataMoji::Serialize(JwwStream& ar) {
    uint32_t typeValue;
    if (ar.IsStoring()) {
        // The common part carries the kept width; the held width becomes 1.
        const uint16_t held = width;
        width = keptWidth;
        try {
            SerializeCommon(ar);
        } catch (...) {
            width = held;
            throw;
        }
        width = 1;
        Xfer(ar, start);
        Xfer(ar, end);
        typeValue = StoredTypeValue();
        ar.PutDword(typeValue);
    } else {
        SerializeCommon(ar);
        Xfer(ar, start);
        Xfer(ar, end);
        typeValue = ar.GetDword();
    }
    textType = typeValue % 10000;
    style = typeValue / 10000;
    Xfer(ar, charWidth);
    Xfer(ar, height);
    Xfer(ar, spacing);
    Xfer(ar, angle);
    Xfer(ar, fontName);
    Xfer(ar, text);
}

void CDataSolid::Serialize(JwwStream& ar) {
    SerializeCommon(ar);
    for (auto& c : corner) Xfer(ar, c);
    if (color == kOwnColor) Xfer(ar, ownColor);
}

void CDataTen::Serialize(JwwStream& ar) {
    if (ar.IsStoring()) {
        // A point with a mark keeps its code, angle and scale in the long
        // form; a plain point is written in the short form.
        lineType = pointCode != 0 ? kLongForm : kShortForm;
    }
    SerializeCommon(ar);
    Xfer(ar, pos);
    Xfer(ar, pointFlag);
    if (lineType == kLongForm) {
        Xfer(ar, pointCode);
        Xfer(ar, angle);
        Xfer(ar, scale);
    }
}

void CDataSunpou::Serialize(JwwStream& ar) {
    SerializeCommon(ar);
    line.Serialize(ar);
    text.Serialize(ar);
    Xfer(ar, mode);
    aux[0].Serialize(ar);
    aux[1].Serialize(ar);
    for (auto& p : points) p.Serialize(ar);
}

void CDataBlock::Serialize(JwwStream& ar) {
    SerializeCommon(ar);
    Xfer(ar, ref);
    Xfer(ar, scaleX);
    Xfer(ar, scaleY);
    Xfer(ar, angle);
    Xfer(ar, definitionNumber);
}

CDataList::CDataList(const CDataList& other)
    : CData(other),
      number(other.number),
      referenced(other.referenced),
      createdTime(other.createdTime),
      name(other.name) {
    elements.reserve(other.elements.size());
    for (const auto& e : other.elements) elements.push_back(e->Clone());
}

void CDataList::Serialize(JwwStream& ar) {
    SerializeCommon(ar);
    Xfer(ar, number);
    Xfer(ar, referenced);
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
            if (e->Kind() == ElementKind::List)
                throw JwwBadClassError("block definition inside a block definition");
            elements.push_back(std::move(e));
        }
    }
}

}  // namespace tolvani
