// The drawing elements: lines, arcs and circles, texts, solids, dimensions,
// points, block insertions and block definitions. Each writes and reads its
// own record through a JwwStream.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/ElementPool.h"
#include "model/JwwString.h"

namespace tolvani {

class JwwStream;

// The nine element classes, in the order of their class names.
enum class ElementKind : uint8_t { Data, Sen, Enko, Moji, Solid, Sunpou, Ten, Block, List };
inline constexpr int kElementKindCount = 9;

// "CData", "CDataSen", … for each kind.
const char* ElementClassName(ElementKind kind);
// The kind named by a class name (exact byte match), or false.
bool ElementKindFromName(std::string_view name, ElementKind& kind);

struct JwwPoint {
    double x = 0;
    double y = 0;
};

class CData {
public:
    virtual ~CData() = default;

    // Elements come from the element pool.
    static void* operator new(std::size_t size) { return AllocateElement(size); }
    static void operator delete(void* p, std::size_t size) noexcept { FreeElement(p, size); }

    CData() = default;

    // The element's exact class; set once by the class's constructor.
    ElementKind Kind() const { return kind_; }
    virtual void Serialize(JwwStream& ar);
    virtual std::unique_ptr<CData> Clone() const { return std::make_unique<CData>(*this); }

    // Common fields, in record order (15 bytes).
    uint32_t groupValue = 0;
    uint8_t lineType = 0;
    uint16_t color = 0;
    uint16_t width = 0;
    uint16_t layer = 0;
    uint16_t layerGroup = 0;
    uint16_t flag = 0;

    static constexpr std::size_t kCommonSize = 15;

    CData(const CData&) = default;
    // Assignment copies the common fields; an element never changes class.
    CData& operator=(const CData& other) {
        groupValue = other.groupValue;
        lineType = other.lineType;
        color = other.color;
        width = other.width;
        layer = other.layer;
        layerGroup = other.layerGroup;
        flag = other.flag;
        return *this;
    }

protected:
    explicit CData(ElementKind kind) : kind_(kind) {}
    class Fields;
    void XferCommon(Fields& f);

private:
    ElementKind kind_ = ElementKind::Data;
};

using ElementList = std::vector<std::unique_ptr<CData>>;

// A new element of the given kind with its defaults.
std::unique_ptr<CData> CreateElement(ElementKind kind);

class CDataSen : public CData {
public:
    CDataSen() : CData(ElementKind::Sen) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSen>(*this); }

    JwwPoint start;
    JwwPoint end;
};

class CDataEnko : public CData {
public:
    CDataEnko() : CData(ElementKind::Enko) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataEnko>(*this); }

    // Recomputes the held angle range from the start and arc angles.
    void UpdateAngleRange();

    JwwPoint center;
    double radius = 0;
    double startAngle = 0;  // radians
    double arcAngle = 0;    // signed sweep, radians
    double tiltAngle = 0;   // radians
    double flatness = 0;    // second radius / first radius
    uint32_t fullCircle = 0;
    // Held only: the angle range covered, lower <= upper.
    double lowerAngle = 0;
    double upperAngle = 0;
};

class CDataMoji : public CData {
public:
    CDataMoji() : CData(ElementKind::Moji) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataMoji>(*this); }

    // The stored value that carries text type and style together.
    uint32_t StoredTypeValue() const;

    JwwPoint start;          // bottom-left corner
    JwwPoint end;            // end of the base line
    uint32_t textType = 0;   // stored value modulo 10000
    uint32_t style = 0;      // stored value / 10000: 1 italic, 2 bold, 3 both
    uint16_t keptWidth = 0;  // written as the width of the common part
    double charWidth = 0;
    double height = 0;
    double spacing = 0;
    double angle = 0;  // degrees, counter-clockwise
    JwwString fontName;
    JwwString text;
};

class CDataSolid : public CData {
public:
    CDataSolid() : CData(ElementKind::Solid) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSolid>(*this); }

    static constexpr uint16_t kOwnColor = 10;

    JwwPoint corner[4];
    uint32_t ownColor = 0;  // 0x00BBGGRR, stored only when color == 10
};

class CDataTen : public CData {
public:
    CDataTen() : CData(ElementKind::Ten) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataTen>(*this); }

    static constexpr uint8_t kLongForm = 100;
    static constexpr uint8_t kShortForm = 1;

    JwwPoint pos;
    uint32_t pointFlag = 0;
    int32_t pointCode = 0;
    double angle = 0;  // radians, or degrees for negative codes
    double scale = 0;
};

class CDataSunpou : public CData {
public:
    CDataSunpou() : CData(ElementKind::Sunpou) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataSunpou>(*this); }

    CDataSen line;
    CDataMoji text;
    uint16_t mode = 0;  // non-zero: auxiliary lines and points are drawn
    CDataSen aux[2];
    CDataTen points[4];
};

class CDataBlock : public CData {
public:
    CDataBlock() : CData(ElementKind::Block) {}
    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataBlock>(*this); }

    JwwPoint ref;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double angle = 0;  // radians, counter-clockwise
    int32_t definitionNumber = 0;

    // Run-time only, never stored.
    int treeParentId = 0;
    int treeItemId = 0;
    bool highlighted = false;
};

class CDataList : public CData {
public:
    CDataList() : CData(ElementKind::List) {}
    CDataList(const CDataList& other);
    CDataList& operator=(const CDataList&) = delete;

    void Serialize(JwwStream& ar) override;
    std::unique_ptr<CData> Clone() const override { return std::make_unique<CDataList>(*this); }

    int32_t number = 0;
    uint32_t referenced = 0;
    int64_t createdTime = 0;  // seconds since 1970-01-01 UTC
    JwwString name;
    ElementList elements;
};

// Exact kind tests.
template <class T>
T* As(CData* e);
template <class T>
const T* As(const CData* e);

#define TOLVANI_KIND_CAST(T, K)                                                       \
    template <>                                                                       \
    inline T* As<T>(CData * e) {                                                      \
        return e && e->Kind() == ElementKind::K ? static_cast<T*>(e) : nullptr;       \
    }                                                                                 \
    template <>                                                                       \
    inline const T* As<T>(const CData* e) {                                           \
        return e && e->Kind() == ElementKind::K ? static_cast<const T*>(e) : nullptr; \
    }
TOLVANI_KIND_CAST(CDataSen, Sen)
TOLVANI_KIND_CAST(CDataEnko, Enko)
TOLVANI_KIND_CAST(CDataMoji, Moji)
TOLVANI_KIND_CAST(CDataSolid, Solid)
TOLVANI_KIND_CAST(CDataSunpou, Sunpou)
TOLVANI_KIND_CAST(CDataTen, Ten)
TOLVANI_KIND_CAST(CDataBlock, Block)
TOLVANI_KIND_CAST(CDataList, List)
#undef TOLVANI_KIND_CAST

}  // namespace tolvani
