#include "model/DrawingGenerator.h"

#include <cmath>
#include <string>
#include <vector>

#include "model/Cp932.h"

namespace tolvani {
namespace {

// A small, fully specified generator so that every platform makes the same
// drawing from the same seed.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    // Millimetres rounded to 0.01 mm, as drawn by hand in a CAD program.
    double mm(double lo, double hi) { return std::round(range(lo, hi) * 100.0) / 100.0; }

private:
    uint64_t s_;
};

constexpr double kHalfW = 841.0 / 2;
constexpr double kHalfH = 594.0 / 2;
constexpr double kPi = 3.14159265358979323846;

struct Vocabulary {
    std::vector<std::string> words;
    std::string gothic;
    std::string mincho;
};

const Vocabulary& Words() {
    static const Vocabulary v = [] {
        Vocabulary voc;
        const char* const utf8[] = {
            "平面図",       "立面図", "断面図", "寝室", "居間",  "台所",       "浴室",
            "玄関",         "廊下",   "和室",   "収納", "階段",  "縮尺 1/100", "W=900",
            "H=2100",       "FL+450", "A-01",   "GL",   "PS",    "柱",         "梁 H-300x150",
            "鉄筋 D13@200", "ｺﾝｸﾘｰﾄ", "１階",   "２階", "North", "Room 101",   "Detail A",
        };
        for (const char* w : utf8) voc.words.push_back(Utf8ToCp932(w));
        voc.gothic = Utf8ToCp932("ＭＳ ゴシック");
        voc.mincho = Utf8ToCp932("ＭＳ 明朝");
        return voc;
    }();
    return v;
}

void Common(Rng& r, CData& e) {
    e.layerGroup = static_cast<uint16_t>(r.below(16));
    e.layer = static_cast<uint16_t>(r.below(16));
    e.color = static_cast<uint16_t>(1 + r.below(8));
    e.lineType = static_cast<uint8_t>(1 + r.below(9));
}

std::unique_ptr<CDataSen> Line(Rng& r, double cx, double cy, double span) {
    auto e = std::make_unique<CDataSen>();
    Common(r, *e);
    e->start = {r.mm(cx - span, cx + span), r.mm(cy - span, cy + span)};
    e->end = {r.mm(cx - span, cx + span), r.mm(cy - span, cy + span)};
    return e;
}

std::unique_ptr<CDataEnko> Arc(Rng& r, double cx, double cy, double span) {
    auto e = std::make_unique<CDataEnko>();
    Common(r, *e);
    e->center = {r.mm(cx - span, cx + span), r.mm(cy - span, cy + span)};
    e->radius = r.mm(1, span / 4 + 2);
    const int shape = r.below(4);
    if (shape == 0) {  // full circle
        e->flatness = 1.0;
        e->arcAngle = 2 * kPi;
        e->fullCircle = 1;
    } else if (shape == 3) {  // ellipse or elliptic arc
        e->flatness = r.range(0.2, 0.9);
        e->tiltAngle = r.range(0, kPi);
        e->startAngle = r.range(0, 2 * kPi);
        e->arcAngle = r.below(2) ? 2 * kPi : r.range(-kPi, kPi);
    } else {
        e->flatness = 1.0;
        e->startAngle = r.range(0, 2 * kPi);
        e->arcAngle = r.range(-1.5 * kPi, 1.5 * kPi);
    }
    e->UpdateAngleRange();
    return e;
}

void FillText(Rng& r, CDataMoji& e, double x, double y) {
    const Vocabulary& voc = Words();
    Common(r, e);
    e.lineType = 1;
    e.textType = static_cast<uint32_t>(1 + r.below(10));
    e.style = static_cast<uint32_t>(r.below(4));
    e.height = std::round(r.range(2.0, 7.0) * 2) / 2;
    e.charWidth = e.height;
    e.spacing = r.below(3) * 0.5;
    e.angle = r.below(4) == 0 ? r.below(8) * 45.0 : 0.0;
    e.fontName = JwwString(r.below(3) ? voc.gothic : voc.mincho);
    e.text = JwwString(voc.words[static_cast<std::size_t>(r.below(static_cast<int>(voc.words.size())))]);
    if (r.below(10) == 0) e.flag = 0x20;  // vertical writing
    e.start = {x, y};
    const double len = static_cast<double>(e.text.size()) * (e.charWidth / 2 + e.spacing);
    const double a = e.angle * kPi / 180;
    e.end = {x + len * std::cos(a), y + len * std::sin(a)};
}

std::unique_ptr<CDataMoji> Text(Rng& r, double cx, double cy, double span) {
    auto e = std::make_unique<CDataMoji>();
    FillText(r, *e, r.mm(cx - span, cx + span), r.mm(cy - span, cy + span));
    return e;
}

std::unique_ptr<CDataTen> Point(Rng& r, double cx, double cy, double span) {
    static const int kCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -1, -2, -3, -4, -5, -6, -7};
    auto e = std::make_unique<CDataTen>();
    Common(r, *e);
    e->pos = {r.mm(cx - span, cx + span), r.mm(cy - span, cy + span)};
    if (r.below(3) == 0) {
        e->pointCode = kCodes[r.below(static_cast<int>(sizeof kCodes / sizeof kCodes[0]))];
        e->angle = e->pointCode < 0 ? r.below(8) * 45.0 : r.range(0, 2 * kPi);
        e->scale = r.below(5) == 0 ? 0.0 : r.range(0.5, 2.0);
        e->lineType = CDataTen::kLongForm;
    } else {
        e->lineType = CDataTen::kShortForm;
    }
    return e;
}

std::unique_ptr<CDataSolid> Solid(Rng& r, double cx, double cy, double span) {
    static const uint8_t kShapes[] = {1, 101, 105, 106, 111};
    auto e = std::make_unique<CDataSolid>();
    Common(r, *e);
    e->lineType = kShapes[r.below(5)];
    if (r.below(4) == 0) {
        e->color = CDataSolid::kOwnColor;
        e->ownColor = static_cast<uint32_t>(r.next() & 0xFFFFFF);
    }
    const double x = r.mm(cx - span, cx + span), y = r.mm(cy - span, cy + span);
    if (e->lineType == 1) {
        const double w = r.mm(1, 20), h = r.mm(1, 20);
        e->corner[0] = {x, y};
        e->corner[1] = {x + w, y};
        e->corner[2] = {x + w, y + h};
        e->corner[3] = {x, y + h};
    } else {
        const double radius = r.mm(2, 30);
        e->corner[0] = {x, y};
        e->corner[1] = {radius, r.range(0.4, 1.0)};
        e->corner[2] = {r.range(0, kPi), r.range(0, 2 * kPi)};
        const double inner = e->lineType == 101 ? static_cast<double>(r.below(3) - 1) : radius * r.range(0.3, 0.8);
        e->corner[3] = {r.range(0.3, 1.8 * kPi), inner};
    }
    return e;
}

std::unique_ptr<CDataSunpou> Dimension(Rng& r, double cx, double cy, double span) {
    auto e = std::make_unique<CDataSunpou>();
    Common(r, *e);
    e->lineType = 1;
    const double x1 = r.mm(cx - span, cx + span), y = r.mm(cy - span, cy + span);
    const double len = r.mm(5, 120);
    e->line.layerGroup = e->layerGroup;
    e->line.layer = e->layer;
    e->line.color = e->color;
    e->line.lineType = 1;
    e->line.start = {x1, y};
    e->line.end = {x1 + len, y};
    FillText(r, e->text, x1 + len / 2 - 4, y + 1);
    e->text.layerGroup = e->layerGroup;
    e->text.layer = e->layer;
    e->text.flag = 0;
    e->text.style = 0;
    e->text.angle = 0;
    e->text.text = JwwString(std::to_string(static_cast<long>(len * 10)));
    e->mode = static_cast<uint16_t>(r.below(2));
    for (int i = 0; i < 2; ++i) {
        CDataSen& a = e->aux[i];
        a.layerGroup = e->layerGroup;
        a.layer = e->layer;
        a.color = e->color;
        a.lineType = 1;
        const double ax = i == 0 ? x1 : x1 + len;
        a.start = {ax, y - 10};
        a.end = {ax, y + 2};
    }
    for (int i = 0; i < 4; ++i) {
        CDataTen& p = e->points[i];
        p.layerGroup = e->layerGroup;
        p.layer = e->layer;
        p.color = e->color;
        p.lineType = CDataTen::kShortForm;
        p.pos = {i % 2 ? x1 + len : x1, i < 2 ? y : y - 10};
    }
    return e;
}

std::unique_ptr<CDataBlock> Insertion(Rng& r, int number, double cx, double cy, double span) {
    auto e = std::make_unique<CDataBlock>();
    Common(r, *e);
    e->ref = {r.mm(cx - span, cx + span), r.mm(cy - span, cy + span)};
    const double s = r.below(3) ? 1.0 : r.range(0.5, 2.0);
    e->scaleX = r.below(8) == 0 ? -s : s;
    e->scaleY = s;
    e->angle = r.below(3) == 0 ? r.range(0, 2 * kPi) : 0.0;
    e->definitionNumber = number;
    return e;
}

}  // namespace

void GenerateDrawing(CJwwDoc& doc, const GeneratorOptions& options) {
    doc.Clear();
    doc.header.SetNewDrawingDefaults();
    doc.header.paperSize = 1;  // A1
    doc.header.memo = JwwString(Utf8ToCp932("生成された図面"));
    Rng r(options.seed);

    // Definitions first: small parts drawn around their own origin; some
    // place an earlier definition, so insertions nest without cycles.
    for (int d = 0; d < options.definitions; ++d) {
        auto def = std::make_unique<CDataList>();
        def->number = d;
        def->referenced = 1;
        def->createdTime = 1700000000 + d;
        def->name = JwwString(Utf8ToCp932("部品" + std::to_string(d + 1) + "@@" + std::to_string(1 + r.below(5))));
        const int parts = 6 + r.below(10);
        for (int k = 0; k < parts; ++k) {
            const int kind = r.below(10);
            if (kind < 6)
                def->elements.push_back(Line(r, 0, 0, 15));
            else if (kind < 8)
                def->elements.push_back(Arc(r, 0, 0, 15));
            else
                def->elements.push_back(Text(r, 0, 0, 10));
        }
        if (d > 0 && r.below(3) == 0) def->elements.push_back(Insertion(r, r.below(d), 0, 0, 10));
        doc.AddDefinition(std::move(def));
    }

    doc.ReserveElements(static_cast<std::size_t>(options.elements));
    for (long i = 0; i < options.elements; ++i) {
        const int pick = r.below(100);
        if (pick < 40)
            doc.AddElement(Line(r, 0, 0, kHalfW * 0.95));
        else if (pick < 55)
            doc.AddElement(Arc(r, 0, 0, kHalfH * 0.9));
        else if (pick < 75)
            doc.AddElement(Text(r, 0, 0, kHalfH * 0.9));
        else if (pick < 85)
            doc.AddElement(Point(r, 0, 0, kHalfH * 0.95));
        else if (pick < 90)
            doc.AddElement(Solid(r, 0, 0, kHalfH * 0.85));
        else if (pick < 95)
            doc.AddElement(Dimension(r, 0, 0, kHalfH * 0.8));
        else if (options.definitions > 0)
            doc.AddElement(Insertion(r, r.below(options.definitions), 0, 0, kHalfH * 0.85));
        else
            doc.AddElement(Line(r, 0, 0, kHalfW * 0.95));
    }
    doc.CountLayerElements();
    doc.shownPaperSize = static_cast<int>(doc.header.paperSize);
}

}  // namespace tolvani
