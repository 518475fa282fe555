#include "platform/gdi/EmfWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <set>
#include <string>
#include <type_traits>

extern "C" {
#include <uemf.h>
}

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/LoadedLibrary.h"
#include "platform/afx/OutputFiles.h"

namespace {

// The entry points of libUEMF this file calls.
#define PVX_UEMF_ENTRY_POINTS(X) \
    X(U_EMRALPHABLEND_set) \
    X(U_EMRARC_set) \
    X(U_EMRBITBLT_set) \
    X(U_EMRCHORD_set) \
    X(U_EMRELLIPSE_set) \
    X(U_EMREOF_set) \
    X(U_EMREXTSELECTCLIPRGN_set) \
    X(U_EMREXTTEXTOUTW_set) \
    X(U_EMRGRADIENTFILL_set) \
    X(U_EMRHEADER_set) \
    X(U_EMRLINETO_set) \
    X(U_EMRMOVETOEX_set) \
    X(U_EMRPIE_set) \
    X(U_EMRPOLYGON16_set) \
    X(U_EMRPOLYGON_set) \
    X(U_EMRPOLYLINE16_set) \
    X(U_EMRPOLYLINE_set) \
    X(U_EMRPOLYPOLYGON16_set) \
    X(U_EMRPOLYPOLYGON_set) \
    X(U_EMRRECTANGLE_set) \
    X(U_EMRRESTOREDC_set) \
    X(U_EMRROUNDRECT_set) \
    X(U_EMRSAVEDC_set) \
    X(U_EMRSETBKCOLOR_set) \
    X(U_EMRSETBKMODE_set) \
    X(U_EMRSETPIXELV_set) \
    X(U_EMRSETPOLYFILLMODE_set) \
    X(U_EMRSETROP2_set) \
    X(U_EMRSETSTRETCHBLTMODE_set) \
    X(U_EMRSETTEXTALIGN_set) \
    X(U_EMRSETTEXTCOLOR_set) \
    X(U_EMRSTRETCHDIBITS_set) \
    X(U_Utf8ToUtf16le) \
    X(createbrushindirect_set) \
    X(createpen_set) \
    X(deleteobject_set) \
    X(emf_append) \
    X(emf_finish) \
    X(emf_free) \
    X(emf_htable_create) \
    X(emf_htable_free) \
    X(emf_start) \
    X(emrtext_set) \
    X(extcreatefontindirectw_set) \
    X(logbrush_set) \
    X(logfont_panose_set) \
    X(logfont_set) \
    X(logpen_set) \
    X(rgndata_set) \
    X(rgndataheader_set) \
    X(selectobject_set)

// A stand-in for an entry point of a library that could not be opened: it answers the zero
// value of its type (a null record, a zeroed structure), which no open file ever meets.
template <class F> struct UemfStandIn;
template <class R, class... A> struct UemfStandIn<R (*)(A...)> {
    static R Call(A...) {
        if constexpr (!std::is_void_v<R>) return R{};
    }
};

// libUEMF, opened at the first metafile through the loader of the other run-time libraries, so
// that commands writing no metafile never map it.
struct UemfLibrary {
#define PVX_UEMF_POINTER(name) decltype(&::name) name = &UemfStandIn<decltype(&::name)>::Call;
    PVX_UEMF_ENTRY_POINTS(PVX_UEMF_POINTER)
#undef PVX_UEMF_POINTER
    std::string why;  // empty when opened
};

const UemfLibrary& Uemf() {
    static const UemfLibrary lib = [] {
        UemfLibrary l, opened;
        const char* soname = "libuemf.so.0";
        void* h = loadedlib::Open(soname, RTLD_NOW | RTLD_LOCAL, "EMF", "libuemf0", l.why);
        bool ok = h != nullptr;
#define PVX_UEMF_RESOLVE(name) ok = ok && loadedlib::Resolve(h, "EMF", soname, #name, opened.name, l.why);
        PVX_UEMF_ENTRY_POINTS(PVX_UEMF_RESOLVE)
#undef PVX_UEMF_RESOLVE
        if (!ok) AfxDiagnostic("gdi", "%s", l.why.c_str());
        return ok ? opened : l;
    }();
    return lib;
}
#undef PVX_UEMF_ENTRY_POINTS

}  // namespace

// libUEMF's file and handle table, kept out of the header so callers need no C headers.
//
// Every object created in the file is known by its description (kind and logical fields), so
// that selecting a pen, brush or font identical to one still in the file selects that object
// instead of creating another. An object that no state selects any more stays in the file,
// idle, until more than kIdlePerKind objects of its kind are idle; then the one idle longest
// is deleted.
struct EmfTrack {
    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    std::set<uint32_t> live;                // created objects not yet deleted in the file
    std::map<std::string, uint32_t> byKey;  // description -> live object
    std::map<uint32_t, std::string> keyOf;  // live object -> description
    std::list<uint32_t> idle[3];            // unselected live objects by kind, most recent first
};

namespace {

constexpr uint32_t kStockBlackPen = U_BLACK_PEN;
constexpr uint32_t kStockWhiteBrush = U_WHITE_BRUSH;
constexpr uint32_t kStockSystemFont = U_SYSTEM_FONT;
constexpr size_t kIdlePerKind = 64;  // unselected objects of one kind kept for reuse

// Object kinds: the first byte of a description and the index of the idle lists.
enum ObjectKind : char { kPenKind = 0, kBrushKind = 1, kFontKind = 2 };

// Appends the bytes of a value to a description.
template <class T>
void Put(std::string& key, const T& v) {
    key.append(reinterpret_cast<const char*>(&v), sizeof v);
}

bool IsStock(uint32_t ih) { return (ih & U_STOCK_OBJECT) != 0; }

U_COLORREF ToColor(COLORREF c) {
    U_COLORREF u;
    u.Red = GetRValue(c);
    u.Green = GetGValue(c);
    u.Blue = GetBValue(c);
    u.Reserved = 0;
    return u;
}

U_RECTL ToRectl(const RECT& r) { return U_RECTL{r.left, r.top, r.right, r.bottom}; }

U_POINTL Pt(LONG x, LONG y) { return U_POINTL{x, y}; }

// Inclusive bounds of a point list, widened by half a pen.
RECT PointBounds(const POINT* pts, int count, int penWidth) {
    RECT b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (int i = 1; i < count; ++i) {
        b.left = std::min(b.left, pts[i].x);
        b.top = std::min(b.top, pts[i].y);
        b.right = std::max(b.right, pts[i].x);
        b.bottom = std::max(b.bottom, pts[i].y);
    }
    const int h = penWidth > 1 ? penWidth / 2 : 0;
    b.left -= h;
    b.top -= h;
    b.right += h;
    b.bottom += h;
    return b;
}

bool Fits16(const POINT* pts, int count) {
    for (int i = 0; i < count; ++i) {
        if (pts[i].x < SHRT_MIN || pts[i].x > SHRT_MAX || pts[i].y < SHRT_MIN || pts[i].y > SHRT_MAX) return false;
    }
    return true;
}

std::vector<U_POINT16> To16(const POINT* pts, int count) {
    std::vector<U_POINT16> v(count);
    for (int i = 0; i < count; ++i) v[i] = U_POINT16{static_cast<int16_t>(pts[i].x), static_cast<int16_t>(pts[i].y)};
    return v;
}

std::vector<U_POINTL> To32(const POINT* pts, int count) {
    std::vector<U_POINTL> v(count);
    for (int i = 0; i < count; ++i) v[i] = U_POINTL{pts[i].x, pts[i].y};
    return v;
}

// A 24- or 32-bit bitmap information block with no colour table.
struct Bmi {
    U_BITMAPINFO info;
    explicit Bmi(const EmfBitmap& src, int dpiX, int dpiY) {
        const int width = src.width;
        const int height = src.height;
        const int bitCount = src.bitCount;
        std::memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(U_BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = src.topDown ? -height : height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<uint16_t>(bitCount);
        info.bmiHeader.biCompression = U_BI_RGB;
        info.bmiHeader.biSizeImage = static_cast<uint32_t>(((bitCount * width + 31) / 32) * 4 * height);
        info.bmiHeader.biXPelsPerMeter = static_cast<int32_t>(dpiX * 10000.0 / 254.0 + 0.5);
        info.bmiHeader.biYPelsPerMeter = static_cast<int32_t>(dpiY * 10000.0 / 254.0 + 0.5);
    }
};

}  // namespace

EmfWriter::EmfWriter() = default;

EmfWriter::~EmfWriter() {
    if (m_track) Close();
}

BOOL EmfWriter::Fail(const std::string& why) {
    m_error = why;
    return FALSE;
}

BOOL EmfWriter::Append(char* rec, const char* what) {
    if (!m_track) {
        if (rec) std::free(rec);
        return Fail(std::string("cannot record ") + what + ": the metafile is not open");
    }
    if (!rec) return Fail(std::string("the ") + what + " record could not be built (bad arguments or out of memory)");
    if (Uemf().emf_append(reinterpret_cast<U_ENHMETARECORD*>(rec), m_track->et, 1) != 0) {
        return Fail(std::string("out of memory while adding the ") + what + " record to " + m_path);
    }
    return TRUE;
}

BOOL EmfWriter::Open(const char* path, const EmfDevice& device, const RECT* frame, const char* description) {
    if (m_track) return Fail("the metafile " + m_path + " is already open");
    if (!path || !*path) return Fail("no file name was given for the metafile");
    if (device.widthPixels <= 0 || device.heightPixels <= 0 || device.dpiX <= 0 || device.dpiY <= 0) {
        return Fail("the reference device has no size or resolution");
    }
    if (!Uemf().why.empty()) return Fail("cannot create the metafile " + std::string(path) + ": " + Uemf().why);
    m_path = path;
    m_device = device;
    m_frameGiven = frame != nullptr;
    if (frame) m_frame = *frame;
    m_bounds = RECT{0, 0, -1, -1};
    m_saved.clear();
    m_cur = Selection{kStockBlackPen, kStockWhiteBrush, kStockSystemFont, POINT{0, 0}, 1};
    m_moveBeforeLine = false;

    auto* track = new EmfTrack;
    errno = 0;
    // The library opens its file by name: it gets the null device, and the metafile goes to a
    // stream of ours, which writes a file its maker handed over through the descriptor it made.
    std::FILE* file = OpenOutputStream(path);
    if (!file || Uemf().emf_start("/dev/null", 1u << 16, 1u << 16, &track->et) != 0 || !track->et) {
        const int err = errno;
        if (file) std::fclose(file);
        delete track;
        std::string why = "cannot create the metafile " + m_path;
        if (err) why += std::string(": ") + std::strerror(err);
        return Fail(why + " (check that the folder exists and is writable)");
    }
    std::fclose(track->et->fp);
    track->et->fp = file;
    if (Uemf().emf_htable_create(128, 128, &track->eht) != 0) {
        std::fclose(track->et->fp);
        Uemf().emf_free(&track->et);
        delete track;
        return Fail("out of memory creating the metafile's object table");
    }
    m_track = track;

    // Description: "text\0\0" in UTF-16LE, as an application name with an empty picture name.
    std::vector<uint16_t> desc;
    if (description && *description) {
        size_t len = 0;
        uint16_t* u = Uemf().U_Utf8ToUtf16le(description, 0, &len);
        if (u) {
            desc.assign(u, u + len);
            std::free(u);
        }
        desc.push_back(0);
        desc.push_back(0);
    }
    const U_SIZEL dev{device.widthPixels, device.heightPixels};
    const U_SIZEL mm{static_cast<int32_t>(device.widthPixels * 25.4 / device.dpiX + 0.5),
                     static_cast<int32_t>(device.heightPixels * 25.4 / device.dpiY + 0.5)};
    const U_RECTL bounds{0, 0, device.widthPixels - 1, device.heightPixels - 1};
    const U_RECTL frameRect = frame ? ToRectl(*frame)
                                    : U_RECTL{0, 0, static_cast<int32_t>(dev.cx * 2540.0 / device.dpiX),
                                              static_cast<int32_t>(dev.cy * 2540.0 / device.dpiY)};
    char* rec = Uemf().U_EMRHEADER_set(bounds, frameRect, nullptr, static_cast<U_CBSTR>(desc.size()),
                                desc.empty() ? nullptr : desc.data(), dev, mm, 0);
    if (!Append(rec, "header")) {
        const std::string why = m_error;
        std::fclose(m_track->et->fp);
        Uemf().emf_free(&m_track->et);
        Uemf().emf_htable_free(&m_track->eht);
        delete m_track;
        m_track = nullptr;
        RemoveOutputFile(m_path.c_str());
        return Fail(why);
    }
    m_error.clear();
    return TRUE;
}

BOOL EmfWriter::Close() {
    if (!m_track) return Fail("the metafile is not open");
    BOOL ok = TRUE;
    // States still saved are unwound first, so no state refers to the objects deleted below.
    if (!m_saved.empty()) {
        ok &= Append(Uemf().U_EMRRESTOREDC_set(-static_cast<int32_t>(m_saved.size())), "restore state");
        m_cur = m_saved.front();
        m_saved.clear();
    }
    // Stock objects first, so that no deleted object stays selected.
    if (!IsStock(m_cur.pen)) ok &= Append(Uemf().selectobject_set(kStockBlackPen, m_track->eht), "select stock pen");
    if (!IsStock(m_cur.brush)) ok &= Append(Uemf().selectobject_set(kStockWhiteBrush, m_track->eht), "select stock brush");
    if (!IsStock(m_cur.font)) ok &= Append(Uemf().selectobject_set(kStockSystemFont, m_track->eht), "select stock font");
    const std::set<uint32_t> live = m_track->live;
    for (uint32_t ih : live) {
        uint32_t h = ih;
        ok &= Append(Uemf().deleteobject_set(&h, m_track->eht), "delete object");
    }
    m_track->live.clear();
    m_cur = Selection{kStockBlackPen, kStockWhiteBrush, kStockSystemFont, m_cur.pos, 1};
    m_saved.clear();
    ok &= Append(Uemf().U_EMREOF_set(0, nullptr, m_track->et), "end of file");

    // The header's bounds and frame are known only now.
    auto* hdr = reinterpret_cast<U_EMRHEADER*>(m_track->et->buf);
    const bool drawn = m_bounds.right >= m_bounds.left && m_bounds.bottom >= m_bounds.top;
    hdr->rclBounds = drawn ? ToRectl(m_bounds) : U_RECTL{0, 0, -1, -1};
    if (!m_frameGiven) {
        hdr->rclFrame = drawn ? U_RECTL{static_cast<int32_t>(m_bounds.left * 2540.0 / m_device.dpiX),
                                        static_cast<int32_t>(m_bounds.top * 2540.0 / m_device.dpiY),
                                        static_cast<int32_t>(m_bounds.right * 2540.0 / m_device.dpiX),
                                        static_cast<int32_t>(m_bounds.bottom * 2540.0 / m_device.dpiY)}
                              : U_RECTL{0, 0, 0, 0};
    }
    errno = 0;
    const size_t nBytes = m_track->et->used;
    const int written = dup(fileno(m_track->et->fp));  // the file, once the library closed its stream
    const int rc = Uemf().emf_finish(m_track->et, m_track->eht);
    if (rc != 0) {
        const int err = errno;
        m_error = "writing the metafile " + m_path + " failed" + (err ? std::string(": ") + std::strerror(err) : "") +
                  " (is the disk full?)";
        ok = FALSE;
    } else {
        // The library ignores what closing the file answers, and a full disk may refuse only the
        // bytes still buffered then: the file must hold every byte its header counts.
        struct stat st {};
        if (written < 0 || ::fstat(written, &st) != 0 || static_cast<size_t>(st.st_size) != nBytes) {
            m_error = "writing the metafile " + m_path + " failed: " +
                      (S_ISREG(st.st_mode) ? std::to_string(st.st_size) + " of " + std::to_string(nBytes) +
                                                 " bytes reached the file (is the disk full?)"
                                           : std::string("the file is gone"));
            ok = FALSE;
        }
    }
    if (written >= 0) close(written);
    if (m_track->et->fp) std::fclose(m_track->et->fp);
    Uemf().emf_free(&m_track->et);
    Uemf().emf_htable_free(&m_track->eht);
    delete m_track;
    m_track = nullptr;
    // A metafile that lacks records or bytes is of no use to any reader.
    if (!ok) RemoveOutputFile(m_path.c_str());
    return ok;
}

// ---- objects ---------------------------------------------------------------------------------

BOOL EmfWriter::IsReferenced(uint32_t ih) const {
    if (m_cur.pen == ih || m_cur.brush == ih || m_cur.font == ih) return TRUE;
    for (const Selection& s : m_saved) {
        if (s.pen == ih || s.brush == ih || s.font == ih) return TRUE;
    }
    return FALSE;
}

void EmfWriter::ReleaseIfUnused(uint32_t ih) {
    if (!m_track || IsStock(ih) || ih == 0 || IsReferenced(ih)) return;
    if (!m_track->live.count(ih)) return;
    // Kept for reuse; the object idle longest goes when too many of its kind are kept.
    std::list<uint32_t>& idle = m_track->idle[static_cast<int>(m_track->keyOf[ih][0])];
    if (std::find(idle.begin(), idle.end(), ih) != idle.end()) return;
    idle.push_front(ih);
    if (idle.size() <= kIdlePerKind) return;
    const uint32_t oldest = idle.back();
    uint32_t h = oldest;
    if (!Append(Uemf().deleteobject_set(&h, m_track->eht), "delete object")) return;
    idle.pop_back();
    m_track->live.erase(oldest);
    m_track->byKey.erase(m_track->keyOf[oldest]);
    m_track->keyOf.erase(oldest);
}

BOOL EmfWriter::Select(uint32_t Selection::*slot, uint32_t ih) {
    if (!Append(Uemf().selectobject_set(ih, m_track->eht), "select object")) return FALSE;
    m_moveBeforeLine = true;
    const uint32_t old = m_cur.*slot;
    m_cur.*slot = ih;
    if (old != ih) ReleaseIfUnused(old);
    return TRUE;
}

template <class Create>
BOOL EmfWriter::SelectDescribed(uint32_t Selection::*slot, const std::string& key, Create create, const char* what) {
    const auto found = m_track->byKey.find(key);
    if (found != m_track->byKey.end()) {
        const uint32_t ih = found->second;
        if (m_cur.*slot == ih) return TRUE;  // selected already: nothing to record
        m_track->idle[static_cast<int>(key[0])].remove(ih);
        return Select(slot, ih);
    }
    uint32_t ih = 0;
    if (!Append(create(&ih), what)) return FALSE;
    m_track->live.insert(ih);
    m_track->byKey[key] = ih;
    m_track->keyOf[ih] = key;
    return Select(slot, ih);
}

BOOL EmfWriter::SelectPen(UINT style, int width, COLORREF color) {
    if (!m_track) return Fail("cannot select a pen: the metafile is not open");
    UINT s = style & 0x0f;
    if (s > U_PS_INSIDEFRAME) return Fail("unknown pen style " + std::to_string(style));
    if (width < 0) width = 0;
    // A pen wider than one pixel draws solid whatever its dash style, as the platform does.
    if (width > 1 && s >= U_PS_DASH && s <= U_PS_DASHDOTDOT) s = U_PS_SOLID;
    std::string key(1, kPenKind);
    Put(key, s);
    Put(key, width);
    Put(key, color);
    const U_LOGPEN lp = Uemf().logpen_set(s, U_POINT{width, 0}, ToColor(color));
    if (!SelectDescribed(&Selection::pen, key, [&](uint32_t* ih) { return Uemf().createpen_set(ih, m_track->eht, lp); },
                         "create pen")) {
        return FALSE;
    }
    m_cur.penWidth = width;
    return TRUE;
}

BOOL EmfWriter::SelectBrush(UINT style, COLORREF color, LONG hatch) {
    if (!m_track) return Fail("cannot select a brush: the metafile is not open");
    if (style != U_BS_SOLID && style != U_BS_NULL && style != U_BS_HATCHED) {
        return Fail("brush style " + std::to_string(style) + " cannot be recorded (solid, hollow and hatched only)");
    }
    if (style != U_BS_HATCHED) hatch = 0;
    std::string key(1, kBrushKind);
    Put(key, style);
    Put(key, color);
    Put(key, hatch);
    const U_LOGBRUSH lb = Uemf().logbrush_set(style, ToColor(color), hatch);
    return SelectDescribed(&Selection::brush, key,
                           [&](uint32_t* ih) { return Uemf().createbrushindirect_set(ih, m_track->eht, lb); }, "create brush");
}

BOOL EmfWriter::SelectFont(const LOGFONT& lf) {
    if (!m_track) return Fail("cannot select a font: the metafile is not open");
    const size_t nameLen = strnlen(lf.lfFaceName, LF_FACESIZE);
    std::string key(1, kFontKind);
    for (const LONG v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) Put(key, v);
    for (const BYTE v : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                         lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily}) {
        Put(key, v);
    }
    key.append(lf.lfFaceName, nameLen);
    uint16_t face[U_LF_FACESIZE] = {0};
    if (nameLen) {
        const std::string name(lf.lfFaceName, nameLen);
        size_t len = 0;
        uint16_t* u = Uemf().U_Utf8ToUtf16le(name.c_str(), 0, &len);
        if (u) {
            const size_t n = std::min<size_t>(len, U_LF_FACESIZE - 1);
            std::memcpy(face, u, n * sizeof(uint16_t));
            std::free(u);
        }
    }
    const U_LOGFONT ulf = Uemf().logfont_set(lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight,
                                      lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                                      lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily, face);
    uint16_t style[U_LF_FACESIZE] = {0};
    const U_PANOSE panose{0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    U_LOGFONT_PANOSE elfw = Uemf().logfont_panose_set(ulf, face, style, 0, panose);
    return SelectDescribed(&Selection::font, key,
                           [&](uint32_t* ih) {
                               return Uemf().extcreatefontindirectw_set(ih, m_track->eht, nullptr,
                                                                 reinterpret_cast<const char*>(&elfw));
                           },
                           "create font");
}

BOOL EmfWriter::SelectStockObject(int index) {
    if (!m_track) return Fail("cannot select a stock object: the metafile is not open");
    const uint32_t ih = U_STOCK_OBJECT | static_cast<uint32_t>(index);
    uint32_t Selection::*slot = nullptr;
    if (index >= 0 && index <= 5) slot = &Selection::brush;
    else if (index >= 6 && index <= 8) slot = &Selection::pen;
    else if ((index >= 10 && index <= 14) || index == 16 || index == 17) slot = &Selection::font;
    else return Fail("stock object " + std::to_string(index) + " cannot be selected into a metafile");
    if (m_cur.*slot != ih && !Select(slot, ih)) return FALSE;
    if (slot == &Selection::pen) m_cur.penWidth = 1;
    return TRUE;
}

// ---- state -----------------------------------------------------------------------------------

int EmfWriter::SaveDC() {
    if (!m_track) {
        Fail("cannot save the state: the metafile is not open");
        return 0;
    }
    if (!Append(Uemf().U_EMRSAVEDC_set(), "save state")) return 0;
    m_saved.push_back(m_cur);
    return static_cast<int>(m_saved.size());
}

BOOL EmfWriter::RestoreDC(int saved) {
    if (!m_track) return Fail("cannot restore the state: the metafile is not open");
    const int depth = static_cast<int>(m_saved.size());
    // The level to return to (1-based): relative counts back from the top.
    const int target = saved < 0 ? depth + saved + 1 : saved;
    if (saved == 0 || target < 1 || target > depth) {
        return Fail("no saved state " + std::to_string(saved) + " to restore (" + std::to_string(depth) + " saved)");
    }
    // The record counts back from the current state.
    if (!Append(Uemf().U_EMRRESTOREDC_set(target - depth - 1), "restore state")) return FALSE;
    m_moveBeforeLine = true;
    const Selection old = m_cur;
    std::vector<Selection> dropped(m_saved.begin() + target - 1, m_saved.end());
    m_cur = m_saved[target - 1];
    m_saved.resize(target - 1);
    ReleaseIfUnused(old.pen);
    ReleaseIfUnused(old.brush);
    ReleaseIfUnused(old.font);
    for (const Selection& s : dropped) {
        ReleaseIfUnused(s.pen);
        ReleaseIfUnused(s.brush);
        ReleaseIfUnused(s.font);
    }
    return TRUE;
}

BOOL EmfWriter::SetTextColor(COLORREF c) { return Append(m_track ? Uemf().U_EMRSETTEXTCOLOR_set(ToColor(c)) : nullptr, "text colour"); }

BOOL EmfWriter::SetBkColor(COLORREF c) { return Append(m_track ? Uemf().U_EMRSETBKCOLOR_set(ToColor(c)) : nullptr, "background colour"); }

BOOL EmfWriter::SetBkMode(int mode) {
    if (mode != U_TRANSPARENT && mode != U_OPAQUE) return Fail("background mode " + std::to_string(mode) + " is neither TRANSPARENT nor OPAQUE");
    return Append(m_track ? Uemf().U_EMRSETBKMODE_set(static_cast<uint32_t>(mode)) : nullptr, "background mode");
}

BOOL EmfWriter::SetTextAlign(UINT align) { return Append(m_track ? Uemf().U_EMRSETTEXTALIGN_set(align) : nullptr, "text alignment"); }

BOOL EmfWriter::SetPolyFillMode(int mode) {
    if (mode != U_ALTERNATE && mode != U_WINDING) return Fail("polygon fill mode " + std::to_string(mode) + " is neither ALTERNATE nor WINDING");
    return Append(m_track ? Uemf().U_EMRSETPOLYFILLMODE_set(static_cast<uint32_t>(mode)) : nullptr, "polygon fill mode");
}

BOOL EmfWriter::SetStretchBltMode(int mode) {
    if (mode < 1 || mode > 4) return Fail("stretch mode " + std::to_string(mode) + " is out of range 1..4");
    return Append(m_track ? Uemf().U_EMRSETSTRETCHBLTMODE_set(static_cast<uint32_t>(mode)) : nullptr, "stretch mode");
}

BOOL EmfWriter::SetROP2(int mode) {
    if (mode < 1 || mode > 16) return Fail("raster operation " + std::to_string(mode) + " is out of range 1..16");
    return Append(m_track ? Uemf().U_EMRSETROP2_set(static_cast<uint32_t>(mode)) : nullptr, "raster operation");
}

// ---- drawing ---------------------------------------------------------------------------------

void EmfWriter::AddBounds(const RECT& r) {
    if (r.right < r.left || r.bottom < r.top) return;
    if (m_bounds.right < m_bounds.left || m_bounds.bottom < m_bounds.top) {
        m_bounds = r;
        return;
    }
    m_bounds.left = std::min(m_bounds.left, r.left);
    m_bounds.top = std::min(m_bounds.top, r.top);
    m_bounds.right = std::max(m_bounds.right, r.right);
    m_bounds.bottom = std::max(m_bounds.bottom, r.bottom);
}

BOOL EmfWriter::ShapeRecord(char* rec, const RECT& bounds, const char* what) {
    if (!Append(rec, what)) return FALSE;
    AddBounds(bounds);
    return TRUE;
}

BOOL EmfWriter::MoveTo(int x, int y) {
    if (!Append(m_track ? Uemf().U_EMRMOVETOEX_set(Pt(x, y)) : nullptr, "move")) return FALSE;
    m_cur.pos = POINT{x, y};
    m_moveBeforeLine = false;
    return TRUE;
}

BOOL EmfWriter::LineTo(int x, int y) {
    // Some importers start a new path at every object change and drop a line that does not
    // begin with a move: after a change the position is written again.
    if (m_moveBeforeLine && m_track && !MoveTo(m_cur.pos.x, m_cur.pos.y)) return FALSE;
    const POINT seg[2] = {m_cur.pos, POINT{x, y}};
    if (!ShapeRecord(m_track ? Uemf().U_EMRLINETO_set(Pt(x, y)) : nullptr, PointBounds(seg, 2, m_cur.penWidth), "line")) {
        return FALSE;
    }
    m_cur.pos = POINT{x, y};
    return TRUE;
}

BOOL EmfWriter::PointListRecord(const POINT* pts, int count, bool closed) {
    const char* what = closed ? "polygon" : "polyline";
    if (!pts || count < 2) return Fail(std::string("a ") + what + " needs at least 2 points");
    if (!m_track) return Append(nullptr, what);
    const RECT b = PointBounds(pts, count, m_cur.penWidth);
    char* rec = Fits16(pts, count)
                    ? (closed ? Uemf().U_EMRPOLYGON16_set : Uemf().U_EMRPOLYLINE16_set)(ToRectl(b), count, To16(pts, count).data())
                    : (closed ? Uemf().U_EMRPOLYGON_set : Uemf().U_EMRPOLYLINE_set)(ToRectl(b), count, To32(pts, count).data());
    return ShapeRecord(rec, b, what);
}

BOOL EmfWriter::Polyline(const POINT* pts, int count) { return PointListRecord(pts, count, false); }

BOOL EmfWriter::Polygon(const POINT* pts, int count) { return PointListRecord(pts, count, true); }

BOOL EmfWriter::PolyPolygon(const POINT* pts, const int* counts, int polygons) {
    if (!pts || !counts || polygons < 1) return Fail("a poly-polygon needs at least one polygon");
    int total = 0;
    std::vector<uint32_t> c(polygons);
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return Fail("polygon " + std::to_string(i) + " of a poly-polygon has fewer than 2 points");
        c[i] = static_cast<uint32_t>(counts[i]);
        total += counts[i];
    }
    if (!m_track) return Append(nullptr, "poly-polygon");
    const RECT b = PointBounds(pts, total, m_cur.penWidth);
    char* rec = Fits16(pts, total)
                    ? Uemf().U_EMRPOLYPOLYGON16_set(ToRectl(b), polygons, c.data(), total, To16(pts, total).data())
                    : Uemf().U_EMRPOLYPOLYGON_set(ToRectl(b), polygons, c.data(), total, To32(pts, total).data());
    return ShapeRecord(rec, b, "poly-polygon");
}

BOOL EmfWriter::Rectangle(const RECT& r) {
    const RECT b{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right) - 1,
                 std::max(r.top, r.bottom) - 1};
    return ShapeRecord(m_track ? Uemf().U_EMRRECTANGLE_set(ToRectl(r)) : nullptr, b, "rectangle");
}

BOOL EmfWriter::Ellipse(const RECT& r) {
    const RECT b{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right) - 1,
                 std::max(r.top, r.bottom) - 1};
    return ShapeRecord(m_track ? Uemf().U_EMRELLIPSE_set(ToRectl(r)) : nullptr, b, "ellipse");
}

BOOL EmfWriter::RoundRect(const RECT& r, int cornerW, int cornerH) {
    const RECT b{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right) - 1,
                 std::max(r.top, r.bottom) - 1};
    return ShapeRecord(m_track ? Uemf().U_EMRROUNDRECT_set(ToRectl(r), U_SIZEL{cornerW, cornerH}) : nullptr, b, "rounded rectangle");
}

BOOL EmfWriter::Arc(int kind, const RECT& box, POINT start, POINT end) {
    if (kind < 0 || kind > 2) return Fail("arc kind " + std::to_string(kind) + " is unknown");
    const RECT b{std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right) - 1,
                 std::max(box.top, box.bottom) - 1};
    char* rec = nullptr;
    if (m_track) {
        const U_POINTL s = Pt(start.x, start.y);
        const U_POINTL e = Pt(end.x, end.y);
        rec = kind == 0 ? Uemf().U_EMRARC_set(ToRectl(box), s, e)
                        : (kind == 1 ? Uemf().U_EMRCHORD_set(ToRectl(box), s, e) : Uemf().U_EMRPIE_set(ToRectl(box), s, e));
    }
    return ShapeRecord(rec, b, kind == 0 ? "arc" : (kind == 1 ? "chord" : "pie"));
}

BOOL EmfWriter::SetPixel(int x, int y, COLORREF c) {
    return ShapeRecord(m_track ? Uemf().U_EMRSETPIXELV_set(Pt(x, y), ToColor(c)) : nullptr, RECT{x, y, x, y}, "pixel");
}

BOOL EmfWriter::FillRect(const RECT& r, UINT style, COLORREF color, LONG hatch) {
    if (!m_track) return Fail("cannot fill: the metafile is not open");
    if (style == U_BS_NULL || r.right <= r.left || r.bottom <= r.top) return TRUE;  // nothing to fill
    if (style != U_BS_SOLID && style != U_BS_HATCHED) {
        return Fail("brush style " + std::to_string(style) + " cannot fill in a metafile (solid and hatched only)");
    }
    if (!SaveDC()) return FALSE;
    // A rectangle drawn without a pen covers right - left - 1 pixels: widen it by one.
    BOOL ok = SelectStockObject(8 /* NULL_PEN */) && SelectBrush(style, color, hatch) &&
              ShapeRecord(Uemf().U_EMRRECTANGLE_set(U_RECTL{r.left, r.top, r.right + 1, r.bottom + 1}),
                          RECT{r.left, r.top, r.right - 1, r.bottom - 1}, "filled rectangle");
    const std::string why = m_error;
    ok = RestoreDC(-1) && ok;
    if (!ok && !why.empty()) m_error = why;
    return ok;
}

BOOL EmfWriter::ExtTextOutW(int x, int y, UINT options, const RECT* clip, const std::vector<uint16_t>& text,
                            const std::vector<int32_t>& dx, const RECT& bounds) {
    if (!m_track) return Fail("cannot write text: the metafile is not open");
    if (dx.size() != text.size()) return Fail("the text has " + std::to_string(text.size()) + " characters but " +
                                              std::to_string(dx.size()) + " advances");
    if (text.empty() && !(options & U_ETO_OPAQUE)) return TRUE;
    std::vector<uint16_t> str(text);
    std::vector<uint32_t> adv(dx.begin(), dx.end());
    if (str.empty()) {
        // An opaque rectangle alone: one empty character keeps the record well formed.
        str.push_back(0);
        adv.push_back(0);
    }
    const U_RECTL rcl = clip ? ToRectl(*clip) : U_RECTL{0, 0, -1, -1};
    char* emrtext = Uemf().emrtext_set(Pt(x, y), static_cast<U_NUM_STR>(text.size()), 2, str.data(),
                                options & ~static_cast<UINT>(U_ETO_NO_RECT), rcl, adv.data());
    if (!emrtext) return Fail("out of memory building a text record");
    // Page units to .01 mm, for players that honour the compatible graphics mode's scale.
    const float sx = static_cast<float>(2540.0 / m_device.dpiX);
    const float sy = static_cast<float>(2540.0 / m_device.dpiY);
    RECT b = bounds;
    if (clip && (options & U_ETO_OPAQUE)) {
        b.left = std::min(b.left, clip->left);
        b.top = std::min(b.top, clip->top);
        b.right = std::max(b.right, clip->right - 1);
        b.bottom = std::max(b.bottom, clip->bottom - 1);
    }
    char* rec = Uemf().U_EMREXTTEXTOUTW_set(ToRectl(b), U_GM_COMPATIBLE, sx, sy, reinterpret_cast<PU_EMRTEXT>(emrtext));
    std::free(emrtext);
    return ShapeRecord(rec, b, "text");
}

BOOL EmfWriter::GradientFill(const EmfVertex* vertices, int nVertices, const uint32_t* mesh, int nMesh, UINT mode) {
    if (!m_track) return Fail("cannot fill a gradient: the metafile is not open");
    if (!vertices || nVertices < 1 || !mesh || nMesh < 1) return Fail("a gradient fill needs vertices and a mesh");
    const int per = mode == U_GRADIENT_FILL_TRIANGLE ? 3 : (mode <= U_GRADIENT_FILL_RECT_V ? 2 : 0);
    if (per == 0) return Fail("gradient mode " + std::to_string(mode) + " is unknown");
    for (int i = 0; i < nMesh * per; ++i) {
        if (mesh[i] >= static_cast<uint32_t>(nVertices)) {
            return Fail("gradient mesh refers to vertex " + std::to_string(mesh[i]) + " of " + std::to_string(nVertices));
        }
    }
    std::vector<U_TRIVERTEX> tv(nVertices);
    std::vector<POINT> pts(nVertices);
    for (int i = 0; i < nVertices; ++i) {
        tv[i] = U_TRIVERTEX{vertices[i].x, vertices[i].y, vertices[i].red, vertices[i].green, vertices[i].blue,
                            vertices[i].alpha};
        pts[i] = POINT{vertices[i].x, vertices[i].y};
    }
    const RECT b = PointBounds(pts.data(), nVertices, 1);
    char* rec = Uemf().U_EMRGRADIENTFILL_set(ToRectl(b), nVertices, nMesh, mode, tv.data(), mesh);
    return ShapeRecord(rec, b, "gradient fill");
}

BOOL EmfWriter::Blit(char* rec, const RECT& dest, const char* what) {
    const RECT b{std::min(dest.left, dest.right), std::min(dest.top, dest.bottom), std::max(dest.left, dest.right) - 1,
                 std::max(dest.top, dest.bottom) - 1};
    return ShapeRecord(rec, b, what);
}

namespace {
// The source rectangle must lie inside the bitmap; a blit never reads beyond the pixels given.
bool SourceInside(const EmfBitmap& src, int x, int y, int w, int h) {
    return src.bits && src.width > 0 && src.height > 0 && (src.bitCount == 24 || src.bitCount == 32) && w > 0 &&
           h > 0 && x >= 0 && y >= 0 && x + w <= src.width && y + h <= src.height;
}
}  // namespace

BOOL EmfWriter::AlphaBlend(const RECT& dest, int srcX, int srcY, int srcW, int srcH, const EmfBitmap& src,
                           BYTE constantAlpha, BYTE alphaFormat) {
    if (!m_track) return Fail("cannot blend: the metafile is not open");
    if (!SourceInside(src, srcX, srcY, srcW, srcH)) return Fail("the blend's source rectangle lies outside its bitmap");
    Bmi bmi(src, m_device.dpiX, m_device.dpiY);
    const uint32_t cb = bmi.info.bmiHeader.biSizeImage;
    U_BLEND blend;
    blend.Operation = 0;  // AC_SRC_OVER
    blend.Flags = 0;
    blend.Global = constantAlpha;
    blend.Op = alphaFormat;
    const U_XFORM identity{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    char* rec = Uemf().U_EMRALPHABLEND_set(ToRectl(dest), Pt(dest.left, dest.top),
                                    Pt(dest.right - dest.left, dest.bottom - dest.top), Pt(srcX, srcY), Pt(srcW, srcH),
                                    identity, U_COLORREF{0, 0, 0, 0}, U_DIB_RGB_COLORS, blend, &bmi.info, cb,
                                    const_cast<char*>(reinterpret_cast<const char*>(src.bits)));
    return Blit(rec, dest, "alpha blend");
}

BOOL EmfWriter::StretchDIBits(const RECT& dest, int srcX, int srcY, int srcW, int srcH, const EmfBitmap& src,
                              DWORD rop) {
    if (!m_track) return Fail("cannot copy a bitmap: the metafile is not open");
    if (!SourceInside(src, srcX, srcY, srcW, srcH)) return Fail("the bitmap's source rectangle lies outside its bitmap");
    Bmi bmi(src, m_device.dpiX, m_device.dpiY);
    char* rec = Uemf().U_EMRSTRETCHDIBITS_set(ToRectl(dest), Pt(dest.left, dest.top),
                                       Pt(dest.right - dest.left, dest.bottom - dest.top), Pt(srcX, srcY), Pt(srcW, srcH),
                                       U_DIB_RGB_COLORS, rop, &bmi.info, bmi.info.bmiHeader.biSizeImage,
                                       const_cast<char*>(reinterpret_cast<const char*>(src.bits)));
    return Blit(rec, dest, "bitmap copy");
}

BOOL EmfWriter::BitBlt(const RECT& dest, int srcX, int srcY, const EmfBitmap* src, DWORD rop, COLORREF bkColor) {
    if (!m_track) return Fail("cannot copy a bitmap: the metafile is not open");
    const int w = dest.right - dest.left;
    const int h = dest.bottom - dest.top;
    const U_XFORM identity{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    char* rec = nullptr;
    if (src) {
        if (!SourceInside(*src, srcX, srcY, w, h)) return Fail("the blit's source rectangle lies outside its bitmap");
        Bmi bmi(*src, m_device.dpiX, m_device.dpiY);
        rec = Uemf().U_EMRBITBLT_set(ToRectl(dest), Pt(dest.left, dest.top), Pt(w, h), Pt(srcX, srcY), identity,
                              ToColor(bkColor), U_DIB_RGB_COLORS, rop, &bmi.info, bmi.info.bmiHeader.biSizeImage,
                              const_cast<char*>(reinterpret_cast<const char*>(src->bits)));
    } else {
        rec = Uemf().U_EMRBITBLT_set(ToRectl(dest), Pt(dest.left, dest.top), Pt(w, h), Pt(0, 0), identity, ToColor(bkColor),
                              U_DIB_RGB_COLORS, rop, nullptr, 0, nullptr);
    }
    return Blit(rec, dest, "blit");
}

// ---- clipping --------------------------------------------------------------------------------

BOOL EmfWriter::ExtSelectClipRects(const RECT* rects, int count, int mode) {
    if (!m_track) return Fail("cannot clip: the metafile is not open");
    if (mode < U_RGN_AND || mode > U_RGN_COPY) return Fail("clip mode " + std::to_string(mode) + " is unknown");
    if (count < 0 || (count > 0 && !rects)) return Fail("bad clip rectangle list");
    if (count == 0) {
        if (mode != U_RGN_COPY) return Fail("an empty clip region can only reset the clip (RGN_COPY)");
        // No region data with RGN_COPY puts back the default (whole surface) clip.
        auto* rec = static_cast<U_EMREXTSELECTCLIPRGN*>(std::calloc(1, U_SIZE_EMREXTSELECTCLIPRGN));
        if (rec) {
            rec->emr.iType = U_EMR_EXTSELECTCLIPRGN;
            rec->emr.nSize = U_SIZE_EMREXTSELECTCLIPRGN;
            rec->cbRgnData = 0;
            rec->iMode = U_RGN_COPY;
        }
        return Append(reinterpret_cast<char*>(rec), "clip reset");
    }
    std::vector<U_RECTL> r(std::max(count, 1), U_RECTL{0, 0, 0, 0});
    RECT box{0, 0, 0, 0};
    for (int i = 0; i < count; ++i) {
        r[i] = ToRectl(rects[i]);
        if (i == 0) {
            box = rects[i];
        } else {
            box.left = std::min(box.left, rects[i].left);
            box.top = std::min(box.top, rects[i].top);
            box.right = std::max(box.right, rects[i].right);
            box.bottom = std::max(box.bottom, rects[i].bottom);
        }
    }
    PU_RGNDATA rgn = Uemf().rgndata_set(Uemf().rgndataheader_set(static_cast<U_NUM_RECTL>(count), ToRectl(box)), r.data());
    if (!rgn) return Fail("out of memory building a clip region");
    char* rec = Uemf().U_EMREXTSELECTCLIPRGN_set(static_cast<uint32_t>(mode), rgn);
    std::free(rgn);
    return Append(rec, "clip region");
}
