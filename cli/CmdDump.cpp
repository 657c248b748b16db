#include <cstdio>
#include <string>

#include "blocks/BlockDump.h"
#include "blocks/BlockNames.h"
#include "blocks/BlockRegistry.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"

namespace tolvani::cli {
namespace {

std::string Num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string Pt(const JwwPoint& p) { return "(" + Num(p.x) + ", " + Num(p.y) + ")"; }

std::string CommonText(const CData& e) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s g=%u lt=%u c=%u w=%u L=%u:%u f=0x%04x", ElementClassName(e.Kind()), e.groupValue,
                  static_cast<unsigned>(e.lineType), static_cast<unsigned>(e.color), static_cast<unsigned>(e.width),
                  static_cast<unsigned>(e.layerGroup), static_cast<unsigned>(e.layer), static_cast<unsigned>(e.flag));
    return buf;
}

// Control characters (NUL, CR, ESC …) shown as \xNN, so that a dump never
// works on the terminal it is shown in. `keepNewlines` keeps line breaks of
// the diagnostic boxes, whose CRs are dropped.
std::string Escaped(const std::string& utf8, bool keepNewlines = false) {
    std::string out;
    out.reserve(utf8.size());
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (keepNewlines && c == '\r') continue;
        if ((c < 0x20 && !(keepNewlines && c == '\n')) || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

std::string Quoted(const JwwString& s) { return "\"" + Escaped(s.toUtf8()) + "\""; }

std::string TextGeometry(const CDataMoji& t) {
    return Pt(t.start) + "-" + Pt(t.end) + " type=" + std::to_string(t.textType) + " style=" + std::to_string(t.style) +
           " size=" + Num(t.charWidth) + "x" + Num(t.height) + " spacing=" + Num(t.spacing) + " angle=" + Num(t.angle) +
           " font=" + Quoted(t.fontName) + " text=" + Quoted(t.text);
}

std::string PointGeometry(const CDataTen& p) {
    std::string s = Pt(p.pos) + " pflag=" + std::to_string(p.pointFlag);
    if (p.lineType == CDataTen::kLongForm)
        s += " code=" + std::to_string(p.pointCode) + " angle=" + Num(p.angle) + " scale=" + Num(p.scale);
    return s;
}

std::string ElementLine(const CData& e) {
    std::string s = CommonText(e) + " ";
    switch (e.Kind()) {
        case ElementKind::Data: break;
        case ElementKind::Sen: {
            const auto& l = static_cast<const CDataSen&>(e);
            s += Pt(l.start) + "-" + Pt(l.end);
            break;
        }
        case ElementKind::Enko: {
            const auto& a = static_cast<const CDataEnko&>(e);
            s += "center=" + Pt(a.center) + " r=" + Num(a.radius) + " start=" + Num(a.startAngle) +
                 " sweep=" + Num(a.arcAngle) + " tilt=" + Num(a.tiltAngle) + " flat=" + Num(a.flatness) +
                 " full=" + std::to_string(a.fullCircle);
            break;
        }
        case ElementKind::Moji: s += TextGeometry(static_cast<const CDataMoji&>(e)); break;
        case ElementKind::Solid: {
            const auto& so = static_cast<const CDataSolid&>(e);
            for (int i = 0; i < 4; ++i) s += (i ? " " : "") + Pt(so.corner[i]);
            if (so.color == CDataSolid::kOwnColor) {
                char buf[24];
                std::snprintf(buf, sizeof buf, " own=0x%06x", so.ownColor);
                s += buf;
            }
            break;
        }
        case ElementKind::Sunpou: {
            const auto& d = static_cast<const CDataSunpou&>(e);
            s += "mode=" + std::to_string(d.mode) + "\n    line: " + CommonText(d.line) + " " + Pt(d.line.start) + "-" +
                 Pt(d.line.end) + "\n    text: " + CommonText(d.text) + " " + TextGeometry(d.text);
            for (const auto& a : d.aux) s += "\n    aux: " + CommonText(a) + " " + Pt(a.start) + "-" + Pt(a.end);
            for (const auto& p : d.points) s += "\n    point: " + CommonText(p) + " " + PointGeometry(p);
            break;
        }
        case ElementKind::Ten: s += PointGeometry(static_cast<const CDataTen&>(e)); break;
        case ElementKind::Block: {
            const auto& b = static_cast<const CDataBlock&>(e);
            s += "ref=" + Pt(b.ref) + " scale=" + Num(b.scaleX) + "x" + Num(b.scaleY) + " angle=" + Num(b.angle) +
                 " def=" + std::to_string(b.definitionNumber);
            break;
        }
        case ElementKind::List: break;
    }
    return s;
}

void AppendBoxes(std::string& out, const std::vector<std::string>& boxes) {
    for (const auto& box : boxes) {
        out += Escaped(box, true);
        if (out.empty() || out.back() != '\n') out.push_back('\n');
        out.push_back('\n');
    }
}

}  // namespace

int RunDump(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 1) UsageError("使い方: " + std::string(kDumpCommand.usage));
    const std::unique_ptr<CJwwDoc> loaded = LoadDrawingOrFail(args.positional()[0]);
    const CJwwDoc& doc = *loaded;

    std::string out;
    out += "# main list: " + std::to_string(doc.mainList.size()) + " elements\n";
    for (std::size_t i = 0; i < doc.mainList.size(); ++i)
        out += "[" + std::to_string(i) + "] " + ElementLine(*doc.mainList[i]) + "\n";
    out += "# definitions: " + std::to_string(doc.blockList.size()) + "\n";
    for (const auto& d : doc.blockList) {
        out += "definition " + std::to_string(d->number) + " name=\"" + Escaped(BlockDisplayNameUtf8(d->name)) +
               "\" kind=" + GetBlockKindName(d->name.view()) + " referenced=" + std::to_string(d->referenced) +
               " time=" + std::to_string(d->createdTime) + " full=" + Quoted(d->name) +
               " elements=" + std::to_string(d->elements.size()) + "\n";
        for (const auto& e : d->elements) out += "    " + ElementLine(*e) + "\n";
    }
    out += "# insertions (main list)\n";
    AppendBoxes(out, DumpInsertions(doc, doc.mainList, nullptr));
    out += "# definitions dump\n";
    AppendBoxes(out, DumpDefinitions(doc));
    PrintOut(out);
    return kExitOk;
}

const Command kDumpCommand = {"dump", "tolvani-cli dump FILE",
                              "全要素を 1 行ずつ、続いてブロック定義と、ブロック構造の診断ダンプ 2 種を表示します。\n",
                              RunDump};

}  // namespace tolvani::cli
