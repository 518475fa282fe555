// FontEngine: turns a LOGFONT into a cairo font (FreeType through fontconfig) and measures
// text with it. Every DC measures and draws text through this one engine, so extents agree
// between the raster, metafile and recording back ends.
//
// Face names are matched by fontconfig; when the matched face cannot show Chinese (it lacks
// U+53CD), "WenQuanYi Micro Hei" is used instead, so "Arial", "宋体", "SimSun" or "Microsoft
// YaHei" all draw Chinese labels. Sizes follow the platform: a negative lfHeight is the em size
// in pixels, a positive one the cell height (ascent + descent, from the font's Windows ascent
// and descent), 0 a 16-pixel cell. A non-zero lfWidth stretches the glyphs horizontally so
// that the average character width becomes lfWidth. tmAveCharWidth is the advance of 'x' (a
// Latin letter's width, as the platform's Latin and SimSun-style fonts report it), not the
// CJK face's own OS/2 average, which counts its wide ideographs: lfWidth = height / 2 then
// keeps digits at their natural width as on the original platform. Glyph advances are whole
// pixels, as on a display. Fonts are cached; the cache is locked.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <cairo.h>

#include "platform/gdi/gdidefs.h"

// A font ready to measure and draw.
struct GdiFont {
    GdiFont() = default;
    ~GdiFont();
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;

    cairo_font_face_t* face = nullptr;        // shared with the engine's face cache
    cairo_scaled_font_t* scaled = nullptr;    // upright, for measuring
    cairo_matrix_t fontMatrix{};              // em size and horizontal stretch
    cairo_font_options_t* options = nullptr;  // antialiasing off unless the LOGFONT asks for it
    double em = 0;                            // em size, pixels
    TEXTMETRIC tm{};
    int underlinePos = 0;                     // pixels below the baseline
    int lineThickness = 1;                    // underline and strike-out, pixels
    bool underline = false;
    bool strikeOut = false;
    std::string family;                       // the face actually used
};

// One line of a DrawText layout, at its top-left corner.
struct GdiTextLine {
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
};

class FontEngine {
public:
    static FontEngine& Instance();

    // The font for lf; never nullptr (an unusable face name falls back to the CJK face).
    std::shared_ptr<const GdiFont> Get(const LOGFONT& lf);

    void GetTextMetrics(const LOGFONT& lf, TEXTMETRIC* tm);
    // Width (sum of advances) and height (tmHeight) of UTF-8 text on one line.
    SIZE MeasureText(const LOGFONT& lf, const std::string& text);
    // Advance of each character (code point) of UTF-8 text, pixels, summing to the width.
    std::vector<int> GetAdvances(const LOGFONT& lf, const std::string& text);

    // Lays out DrawText: lines, their positions in rect and the height of the text (for
    // DT_VCENTER and DT_BOTTOM the offset from rect->top to the text's bottom, as the platform
    // returns). With DT_CALCRECT the rectangle is changed to fit the text.
    int LayoutDrawText(const LOGFONT& lf, const std::string& text, RECT* rect, UINT format,
                       std::vector<GdiTextLine>* lines);

private:
    FontEngine() = default;
    struct Impl;
    Impl* m_pImpl = nullptr;
    Impl& impl();
};

// UTF-8 helpers.
std::vector<uint32_t> Utf8Decode(const std::string& s);
std::string Utf8Encode(uint32_t cp);
// Valid UTF-8 for cairo: bad bytes become U+FFFD, text stops at a NUL.
std::string Utf8Sanitize(const std::string& s);
