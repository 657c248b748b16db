#include "display/TextRenderer.h"

#include <algorithm>
#include <cmath>

#include "display/DeviceMath.h"
#include "model/Cp932.h"

namespace tolvani::display {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Walks the kept original text one character at a time beside the bytes.
class OriginalCursor {
public:
    explicit OriginalCursor(const std::u16string* text) : text_(text) {}
    // The original character of the next byte character, when the bytes
    // stand in for one without a code page 932 form; 0 otherwise.
    char32_t Next(std::string_view bytes) {
        if (!text_ || pos_ >= text_->size()) return 0;
        char32_t cp = (*text_)[pos_++];
        if (cp >= 0xD800 && cp <= 0xDBFF && pos_ < text_->size()) {
            const char32_t lo = (*text_)[pos_];
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                ++pos_;
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
            }
        }
        const bool geta = bytes == std::string_view(kGetaMarkCp932, 2);
        return geta && cp != 0x3013 ? cp : 0;
    }

private:
    const std::u16string* text_;
    std::size_t pos_ = 0;
};

class GlyphWriter {
public:
    GlyphWriter(Canvas& canvas, LogFont& font, bool vertical, const DeviceRect* visible, double reach)
        : canvas_(canvas), font_(font), vertical_(vertical), visible_(visible), reach_(reach) {}

    void Full(int32_t x, int32_t y, int h, std::string_view bytes, char32_t original) {
        if (!Shows(x, y, h)) return;
        font_.height = h;
        canvas_.SetFont(font_);
        canvas_.TextOut(x, y, bytes, original);
    }

    void Half(int32_t x, int32_t y, int h1, int h2, std::string_view bytes, char32_t original) {
        int h = h1;
        if (vertical_) {
            const double e = font_.escapement / 10.0 * kPi / 180;
            x += Trunc(std::sin(e) * h1 * 0.8);
            y -= Trunc(std::cos(e) * h1 * 0.8);
            h = h2;
        }
        if (!Shows(x, y, std::max(std::abs(h1), std::abs(h2)))) return;
        font_.height = h;
        canvas_.SetFont(font_);
        canvas_.TextOut(x, y, bytes, original);
    }

private:
    bool Shows(int32_t x, int32_t y, int h) const {
        if (!visible_) return true;
        const double r = reach_ + 2.0 * std::abs(h);
        return !(x + r < visible_->left || x - r > visible_->right || y + r < visible_->top ||
                 y - r > visible_->bottom);
    }

    Canvas& canvas_;
    LogFont& font_;
    bool vertical_;
    const DeviceRect* visible_;
    double reach_;
};

}  // namespace

bool DrawString(Canvas& canvas, const CJwwScreen& screen, const TextParams& p, const DeviceRect* visible) {
    // A text placed through a mirrored insertion arrives with a negative
    // height; its glyphs keep their size.
    const double height = std::fabs(p.height);
    const double A = p.vertical ? p.width : height;
    const double B = p.vertical ? height : p.width;
    const double a = p.angle;
    const double rad = a * kPi / 180;
    const double sn = std::sin(rad), cs = std::cos(rad);
    const double ox = a == 0 ? 0 : -sn * A, oy = a == 0 ? A : cs * A;
    const double X0 = Round((p.startX + ox - screen.left) * screen.scaleX);
    const double Y0 = (screen.top - (p.startY + oy)) * screen.scaleY;
    const double Hpx = screen.scaleX * A;
    const int Hi = Round(Hpx);
    const double Wpx = screen.scaleY * B;
    const int Whalf = Round(0.45 * Wpx);
    const double Spx = screen.scaleX * p.spacing;
    const int e = Round(a * 10);
    if (Hi == 0) return false;

    canvas.SetBackgroundMode(BackgroundMode::Transparent);

    const double advance = Wpx + Spx;
    const double stepX = cs * advance, stepY = -sn * advance;
    const double halfX = stepX / 2, halfY = stepY / 2;
    double X = X0, Y = Y0, PX = X0, PY = Y0;

    const std::string_view text = p.text.substr(0, p.text.find('\0'));
    const std::size_t n = text.size();
    // How far any glyph of this text can lie from the start point.
    const double reach = (static_cast<double>(n) + 2) * std::fabs(advance) + 3 * (std::fabs(Hpx) + std::fabs(Wpx));
    if (visible && Finite(reach)) {
        const double sx = X0, sy = Y0;
        if (sx + reach < visible->left || sx - reach > visible->right || sy + reach < visible->top ||
            sy - reach > visible->bottom)
            return true;
    }

    LogFont font;
    if (p.vertical) font.faceName = "@";
    font.faceName.append(p.fontName.substr(0, p.fontName.find('\0')));
    font.charSet = 128;
    font.escapement = font.orientation = e;
    if (p.style == 1 || p.style == 3) font.italic = true;
    if (p.style == 2 || p.style == 3) font.weight = 700;
    GlyphWriter out(canvas, font, p.vertical, visible, std::fabs(advance));
    OriginalCursor original(p.original);

    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (IsCp932LeadByte(b)) {
            if (i + 1 >= n) break;  // a lead byte without its second byte
            const std::string_view ch = text.substr(i, 2);
            out.Full(Trunc(X), Trunc(Y), Hi, ch, original.Next(ch));
            PX = X;
            PY = Y;
            X += stepX;
            Y += stepY;
            i += 2;
            continue;
        }
        if (b != '^') {
            const std::string_view ch = text.substr(i, 1);
            out.Half(Round(X), Round(Y), Hi, Whalf, ch, original.Next(ch));
            PX = X;
            PY = Y;
            X += halfX;
            Y += halfY;
            i += 1;
            continue;
        }
        if (i + 1 >= n) break;  // "^" at the very end
        const char code = text[i + 1];
        switch (code) {
            case '!': font.weight = 700; break;
            case '/': font.italic = true; break;
            case '_': font.underline = true; break;
            case '-': font.strikeOut = true; break;
            case 'm': break;
            case 'u':
            case 'd':
            case 'c':
            case 'o':
            case 'n':
            case 'B':
            case 'b': {
                const std::size_t j = i + 2;
                if (j >= n) {
                    i = n;
                    continue;
                }
                const std::size_t len = IsCp932LeadByte(static_cast<uint8_t>(text[j])) ? 2 : 1;
                if (j + len > n) {
                    i = n;
                    continue;
                }
                original.Next(text.substr(i, 1));
                original.Next(text.substr(i + 1, 1));
                const std::string_view ch = text.substr(j, len);
                double gx, gy;
                int full = Hi, h1 = Hi, h2 = Whalf;
                const int halfHpx = Round(0.5 * Hpx), halfWpx = Round(0.5 * Wpx);
                double nextX = X + halfX, nextY = Y + halfY;
                double prevX = X, prevY = Y;  // "u", "d", "c": the cursor before this step
                bool keepPrev = false;
                switch (code) {
                    case 'u':
                        gx = p.vertical ? PX : X;
                        gy = p.vertical ? PY : Y;
                        full = h1 = halfHpx;
                        h2 = halfWpx;
                        break;
                    case 'd':
                        gx = p.vertical ? PX + cs * Wpx : X + sn * 0.5 * Hpx;
                        gy = p.vertical ? PY - sn * Wpx : Y + cs * 0.5 * Hpx;
                        full = h1 = halfHpx;
                        h2 = halfWpx;
                        break;
                    case 'c':
                        gx = X + sn * 0.2 * Hpx;
                        gy = Y + cs * 0.2 * Hpx;
                        full = h1 = Round(0.7 * Hi);
                        break;
                    case 'o':
                        gx = PX + 0.25 * stepX + 0.25 * Hpx * sn;
                        gy = PY + 0.25 * stepY + 0.25 * Hpx * cs;
                        full = h1 = halfHpx;
                        h2 = halfWpx;
                        nextX = PX + stepX;
                        nextY = PY + stepY;
                        keepPrev = true;
                        break;
                    case 'n':
                        gx = PX;
                        gy = PY;
                        keepPrev = true;
                        break;
                    case 'B':
                        gx = PX + 0.1 * stepX;
                        gy = PY;
                        keepPrev = true;
                        break;
                    default:  // 'b'
                        gx = PX + 0.2 * stepX;
                        gy = PY;
                        keepPrev = true;
                        break;
                }
                if (len == 2)
                    out.Full(Round(gx), Round(gy), full, ch, original.Next(ch));
                else
                    out.Half(Round(gx), Round(gy), h1, h2, ch, original.Next(ch));
                if (!keepPrev) {
                    PX = prevX;
                    PY = prevY;
                }
                X = nextX;
                Y = nextY;
                i = j + len;
                continue;
            }
            default:
                // The "^" is dropped; the code byte is the next character.
                original.Next(text.substr(i, 1));
                i += 1;
                continue;
        }
        original.Next(text.substr(i, 1));
        original.Next(text.substr(i + 1, 1));
        i += 2;
    }
    return true;
}

}  // namespace tolvani::display
