#include "platform/gdi/FontEngine.h"
#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace {

const char* const kCjkFamily = "WenQuanYi Micro Hei";
const uint32_t kCjkProbe = 0x53CD;  // a common Chinese character ("反")

// Design units of a face, read once.
struct FaceInfo {
    cairo_font_face_t* face = nullptr;
    double upem = 1000;
    double winAscent = 800;
    double winDescent = 200;
    double lineGap = 0;       // extra leading beyond the cell
    double xAvg = 0;          // OS/2 average width, 0 when absent
    double maxWidth = 0;      // bounding box width
    std::string family;
};

cairo_font_options_t* NewOptions(bool antialias) {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    return o;
}

FcPattern* MatchFamily(const char* family, bool bold, bool italic, bool antialias) {
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_ANTIALIAS, antialias ? FcTrue : FcFalse);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    cairo_font_options_t* o = NewOptions(antialias);
    cairo_ft_font_options_substitute(o, pat);
    cairo_font_options_destroy(o);
    FcDefaultSubstitute(pat);
    FcResult res = FcResultNoMatch;
    FcPattern* m = FcFontMatch(nullptr, pat, &res);
    FcPatternDestroy(pat);
    if (m) {
        // Configuration files may turn smoothing back on; the DC decides.
        FcPatternDel(m, FC_ANTIALIAS);
        FcPatternAddBool(m, FC_ANTIALIAS, antialias ? FcTrue : FcFalse);
    }
    return m;
}

bool CoversChinese(FcPattern* m) {
    FcCharSet* cs = nullptr;
    return m && FcPatternGetCharSet(m, FC_CHARSET, 0, &cs) == FcResultMatch && cs && FcCharSetHasChar(cs, kCjkProbe);
}

void ReadUnits(FaceInfo& fi) {
    cairo_matrix_t fm, ctm;
    cairo_matrix_init_scale(&fm, 1, 1);
    cairo_matrix_init_identity(&ctm);
    cairo_font_options_t* o = NewOptions(false);
    cairo_scaled_font_t* sf = cairo_scaled_font_create(fi.face, &fm, &ctm, o);
    cairo_font_options_destroy(o);
    if (FT_Face ft = cairo_ft_scaled_font_lock_face(sf)) {
        fi.upem = ft->units_per_EM ? ft->units_per_EM : 1000;
        const double hheaAsc = ft->ascender, hheaDesc = -ft->descender;
        fi.winAscent = hheaAsc;
        fi.winDescent = hheaDesc;
        const double hheaGap = ft->height - (hheaAsc + hheaDesc);
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            fi.winAscent = os2->usWinAscent;
            fi.winDescent = os2->usWinDescent;
            fi.xAvg = os2->xAvgCharWidth;
        }
        fi.lineGap = std::max(0.0, hheaAsc + hheaDesc + hheaGap - (fi.winAscent + fi.winDescent));
        fi.maxWidth = static_cast<double>(ft->bbox.xMax - ft->bbox.xMin);
        cairo_ft_scaled_font_unlock_face(sf);
    }
    cairo_scaled_font_destroy(sf);
}

int RoundPx(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

}  // namespace

GdiFont::~GdiFont() {
    if (scaled) cairo_scaled_font_destroy(scaled);
    if (options) cairo_font_options_destroy(options);
    if (face) cairo_font_face_destroy(face);
}

// Its members are of types local to this file. Compiled in a unity batch, the file is
// included into the batch's unit, and GCC takes it for a header and warns of that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsubobject-linkage"
struct FontEngine::Impl {
    std::mutex mutex;
    std::map<std::string, FaceInfo> faces;                          // face|bold|italic|aa
    std::map<std::string, std::shared_ptr<const GdiFont>> fonts;  // every size-relevant field

    const FaceInfo& Face(const std::string& name, bool bold, bool italic, bool aa) {
        const std::string key = name + '|' + char('0' + bold) + char('0' + italic) + char('0' + aa);
        auto it = faces.find(key);
        if (it != faces.end()) return it->second;
        FcPattern* m = MatchFamily(name.empty() ? "SimSun" : name.c_str(), bold, italic, aa);
        if (!CoversChinese(m)) {
            if (m) FcPatternDestroy(m);
            m = MatchFamily(kCjkFamily, bold, italic, aa);
            if (m && !CoversChinese(m)) {
                // No configured CJK face under that name: ask for any face with Chinese.
                FcPatternDestroy(m);
                FcPattern* pat = FcPatternCreate();
                FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
                FcConfigSubstitute(nullptr, pat, FcMatchPattern);
                FcDefaultSubstitute(pat);
                FcResult res;
                m = FcFontMatch(nullptr, pat, &res);
                FcPatternDestroy(pat);
                if (m) {
                    FcPatternDel(m, FC_ANTIALIAS);
                    FcPatternAddBool(m, FC_ANTIALIAS, aa ? FcTrue : FcFalse);
                }
            }
        }
        FaceInfo fi;
        if (m) {
            FcChar8* fam = nullptr;
            if (FcPatternGetString(m, FC_FAMILY, 0, &fam) == FcResultMatch && fam)
                fi.family = reinterpret_cast<const char*>(fam);
            fi.face = cairo_ft_font_face_create_for_pattern(m);
            FcPatternDestroy(m);
        } else {
            AfxDiagnostic("gdi", "fontconfig found no font for \"%s\"; using cairo's default face", name.c_str());
            fi.face = cairo_toy_font_face_create("sans-serif", italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                                 bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        }
        ReadUnits(fi);
        return faces.emplace(key, fi).first->second;
    }

    std::shared_ptr<const GdiFont> Get(const LOGFONT& lf) {
        char face[LF_FACESIZE + 1];
        std::memcpy(face, lf.lfFaceName, LF_FACESIZE);
        face[LF_FACESIZE] = '\0';
        const bool bold = lf.lfWeight >= 600;
        const bool italic = lf.lfItalic != 0;
        const bool aa = lf.lfQuality == 4 || lf.lfQuality == 5;  // ANTIALIASED_QUALITY, CLEARTYPE_QUALITY
        char key[LF_FACESIZE + 96];
        std::snprintf(key, sizeof key, "%s|%d|%d|%d%d%d%d%d", face, static_cast<int>(lf.lfHeight),
                      static_cast<int>(lf.lfWidth), bold, italic, aa, lf.lfUnderline != 0, lf.lfStrikeOut != 0);
        std::lock_guard<std::mutex> lock(mutex);
        auto it = fonts.find(key);
        if (it != fonts.end()) return it->second;

        const FaceInfo& fi = Face(face, bold, italic, aa);
        auto f = std::make_shared<GdiFont>();
        const double cellUnits = fi.winAscent + fi.winDescent;
        if (lf.lfHeight < 0) f->em = -static_cast<double>(lf.lfHeight);
        else f->em = (lf.lfHeight > 0 ? lf.lfHeight : 16) * fi.upem / cellUnits;
        // Glyphs beyond this size would only exhaust memory in the glyph cache.
        f->em = std::min(std::max(f->em, 1.0), 8192.0);
        const double scale = f->em / fi.upem;
        const double naturalAvg = fi.xAvg > 0 ? fi.xAvg * scale : 0;
        f->face = cairo_font_face_reference(fi.face);
        f->options = NewOptions(aa);
        f->family = fi.family;
        cairo_matrix_init_scale(&f->fontMatrix, f->em, f->em);
        cairo_matrix_t ctm;
        cairo_matrix_init_identity(&ctm);
        f->scaled = cairo_scaled_font_create(f->face, &f->fontMatrix, &ctm, f->options);

        // The average width is the advance of 'x': the width of a Latin letter, which is what
        // the platform's fonts report and what lfWidth is meant against. The CJK face's own
        // average (OS/2 xAvgCharWidth) counts its wide ideographs and would make labels narrow.
        cairo_text_extents_t xExt;
        cairo_scaled_font_text_extents(f->scaled, "x", &xExt);
        double avg = xExt.x_advance > 0 ? xExt.x_advance : naturalAvg;
        double xScale = 1.0;
        if (lf.lfWidth != 0 && avg > 0) {
            xScale = std::min(std::abs(static_cast<double>(lf.lfWidth)), 8192.0) / avg;
            cairo_matrix_init_scale(&f->fontMatrix, f->em * xScale, f->em);
            cairo_scaled_font_destroy(f->scaled);
            f->scaled = cairo_scaled_font_create(f->face, &f->fontMatrix, &ctm, f->options);
        }
        TEXTMETRIC& tm = f->tm;
        tm.tmAscent = RoundPx(fi.winAscent * scale);
        tm.tmDescent = RoundPx(fi.winDescent * scale);
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
        tm.tmInternalLeading = std::max(0, static_cast<int>(tm.tmHeight) - RoundPx(f->em));
        tm.tmExternalLeading = RoundPx(fi.lineGap * scale);
        tm.tmAveCharWidth = lf.lfWidth != 0 ? std::abs(static_cast<int>(lf.lfWidth)) : std::max(1, RoundPx(avg));
        tm.tmMaxCharWidth = std::max(1, RoundPx(fi.maxWidth * scale * xScale));
        tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
        tm.tmOverhang = 0;
        tm.tmDigitizedAspectX = 96;
        tm.tmDigitizedAspectY = 96;
        tm.tmFirstChar = 0x20;
        tm.tmLastChar = 0xFF;
        tm.tmDefaultChar = 0x1F;
        tm.tmBreakChar = 0x20;
        tm.tmItalic = lf.lfItalic;
        tm.tmUnderlined = lf.lfUnderline;
        tm.tmStruckOut = lf.lfStrikeOut;
        tm.tmPitchAndFamily = 0x06 | 0x01;  // TrueType vector font, variable pitch
        tm.tmCharSet = lf.lfCharSet;
        f->underline = lf.lfUnderline != 0;
        f->strikeOut = lf.lfStrikeOut != 0;
        f->lineThickness = std::max(1, RoundPx(f->em / 14.0));
        f->underlinePos = std::max(1, static_cast<int>(tm.tmDescent) / 2);

        if (fonts.size() > 512) fonts.clear();  // fonts in use stay alive through their owners
        fonts.emplace(key, f);
        return f;
    }
};
#pragma GCC diagnostic pop

FontEngine& FontEngine::Instance() {
    static FontEngine engine;
    return engine;
}

FontEngine::Impl& FontEngine::impl() {
    static std::once_flag once;
    std::call_once(once, [this] {
        {
            // fontconfig keeps its configuration until the process ends. Loaded with the leak
            // checker looking away, a sanitizer run ends with nothing to suppress, and so without
            // reading the libraries' debug information to match suppressions (half a second).
#if defined(__SANITIZE_ADDRESS__)
            __lsan::ScopedDisabler notALeak;
#endif
            FcInit();
        }
        m_pImpl = new Impl;
    });
    return *m_pImpl;
}

std::shared_ptr<const GdiFont> FontEngine::Get(const LOGFONT& lf) {
    return impl().Get(lf);
}

void FontEngine::GetTextMetrics(const LOGFONT& lf, TEXTMETRIC* tm) {
    if (tm) *tm = Get(lf)->tm;
}

SIZE FontEngine::MeasureText(const LOGFONT& lf, const std::string& text) {
    auto f = Get(lf);
    SIZE s{0, f->tm.tmHeight};
    if (text.empty()) return s;
    cairo_text_extents_t ext;
    cairo_scaled_font_text_extents(f->scaled, Utf8Sanitize(text).c_str(), &ext);
    s.cx = RoundPx(ext.x_advance);
    return s;
}

std::vector<int> FontEngine::GetAdvances(const LOGFONT& lf, const std::string& raw) {
    std::vector<int> adv;
    const std::string text = Utf8Sanitize(raw);
    if (text.empty()) return adv;
    auto f = Get(lf);
    cairo_glyph_t* glyphs = nullptr;
    int n = 0;
    if (cairo_scaled_font_text_to_glyphs(f->scaled, 0, 0, text.c_str(), static_cast<int>(text.size()), &glyphs, &n,
                                         nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
        return adv;
    }
    cairo_text_extents_t ext;
    cairo_scaled_font_glyph_extents(f->scaled, glyphs, n, &ext);
    const int total = RoundPx(ext.x_advance);
    int prev = 0;
    for (int i = 0; i < n; ++i) {
        const int next = i + 1 < n ? RoundPx(glyphs[i + 1].x) : total;
        adv.push_back(next - prev);
        prev = next;
    }
    cairo_glyph_free(glyphs);
    return adv;
}

int FontEngine::LayoutDrawText(const LOGFONT& lf, const std::string& textIn, RECT* rect, UINT format,
                               std::vector<GdiTextLine>* lines) {
    if (!rect) return 0;
    auto f = Get(lf);
    std::string text;
    text.reserve(textIn.size());
    for (char c : textIn)
        if (c != '\r' && !((format & DT_SINGLELINE) && c == '\n')) text.push_back(c);

    // Split into lines, breaking at spaces when asked and the line is too wide.
    std::vector<std::string> out;
    const int maxWidth = rect->right - rect->left;
    size_t start = 0;
    while (true) {
        size_t nl = (format & DT_SINGLELINE) ? std::string::npos : text.find('\n', start);
        std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
            out.push_back(para);
        } else {
            std::string line;
            size_t pos = 0;
            bool any = false;
            while (pos <= para.size()) {
                size_t sp = para.find(' ', pos);
                std::string word = para.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
                std::string trial = line.empty() && !any ? word : line + " " + word;
                if (any && MeasureText(lf, trial).cx > maxWidth) {
                    out.push_back(line);
                    line = word;
                } else {
                    line = trial;
                }
                any = true;
                if (sp == std::string::npos) break;
                pos = sp + 1;
            }
            out.push_back(line);
        }
        if (nl == std::string::npos) break;
        start = nl + 1;
    }

    const int lineHeight = f->tm.tmHeight + ((format & DT_EXTERNALLEADING) ? f->tm.tmExternalLeading : 0);
    const int height = lineHeight * static_cast<int>(out.size());
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = (rect->top + rect->bottom - height) / 2;
        else if (format & DT_BOTTOM) y = rect->bottom - height;
    }
    int widest = 0;
    for (const std::string& s : out) {
        const int w = MeasureText(lf, s).cx;
        widest = std::max(widest, w);
        int x = rect->left;
        if (format & DT_CENTER) x = (rect->left + rect->right - w) / 2;
        else if (format & DT_RIGHT) x = rect->right - w;
        if (lines) lines->push_back(GdiTextLine{s, x, y, w});
        y += lineHeight;
    }
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect->top;
    return height;
}

std::vector<uint32_t> Utf8Decode(const std::string& s) {
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int n = 0;
        uint32_t cp = 0;
        if (c < 0x80) { cp = c; n = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 1; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 2; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 3; }
        else { out.push_back(0xFFFD); ++i; continue; }
        int k = 1;
        for (; k <= n && i + k < s.size(); ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) break;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // A sequence broken or cut short by the end is one U+FFFD; the byte that broke it is
        // read again, so no character after it is lost.
        if (k <= n) { out.push_back(0xFFFD); i += static_cast<size_t>(k); continue; }
        out.push_back(cp);
        i += static_cast<size_t>(n) + 1;
    }
    return out;
}

std::string Utf8Sanitize(const std::string& s) {
    bool ascii = true;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80 || c == 0) { ascii = false; break; }
    if (ascii) return s;
    std::string out;
    for (uint32_t cp : Utf8Decode(s)) {
        if (cp == 0) break;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        afxutf8::Append(out, cp);
    }
    return out;
}

std::string Utf8Encode(uint32_t cp) {
    std::string s;
    afxutf8::Append(s, cp);
    return s;
}
