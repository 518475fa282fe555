#include "platform/gdi/CRecordDC.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/gdi/DCBackend.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/RasterBackend.h"

namespace {

// Records each call, then hands it to the raster back end when there is one.
class RecordBackend : public DCBackend {
public:
    std::vector<GdiRecord> records;
    std::unique_ptr<RasterBackend> raster;
    bool textsOnly = false;
    GdiRecord dropped;  // takes the arguments of a call that is not kept

    GdiRecord& Add(const DCState& st, const char* op) {
        if (textsOnly && std::strcmp(op, "TextOut") != 0 && std::strcmp(op, "ExtTextOut") != 0 &&
            std::strcmp(op, "DrawText") != 0)
            return dropped;
        GdiRecord r;
        r.op = op;
        r.pen = st.Pen();
        r.brush = st.Brush();
        r.font = st.Font();
        r.textColor = st.textColor;
        r.bkColor = st.bkColor;
        r.bkMode = st.bkMode;
        r.textAlign = st.textAlign;
        r.rop2 = st.rop2;
        r.polyFillMode = st.polyFillMode;
        r.curPos = st.curPos;
        r.hasClip = st.hasClip;
        if (st.hasClip) st.clip.GetBox(&r.clipBox);
        records.push_back(std::move(r));
        return records.back();
    }

    void OnStateChange(const DCState& st, DCChange what, int arg) override {
        GdiRecord& r = Add(st, DCChangeName(what));
        switch (what) {
        case DCChange::Pen: r.args = {OBJ_PEN}; break;
        case DCChange::Brush: r.args = {OBJ_BRUSH}; break;
        case DCChange::Font: r.args = {OBJ_FONT}; break;
        case DCChange::Bitmap: r.args = {OBJ_BITMAP}; break;
        case DCChange::CurrentPosition: r.args = {st.curPos.x, st.curPos.y}; break;
        case DCChange::ViewportOrg: r.args = {st.viewportOrg.x, st.viewportOrg.y}; break;
        case DCChange::WindowOrg: r.args = {st.windowOrg.x, st.windowOrg.y}; break;
        case DCChange::BrushOrg: r.args = {st.brushOrg.x, st.brushOrg.y}; break;
        case DCChange::Clip: break;
        default: r.args = {arg}; break;
        }
        if (raster) raster->OnStateChange(st, what, arg);
    }

    BOOL LineTo(const DCState& st, int x, int y) override {
        Add(st, "LineTo").args = {x, y};
        return raster ? raster->LineTo(st, x, y) : TRUE;
    }
    BOOL Polyline(const DCState& st, const POINT* pts, int n) override {
        Add(st, "Polyline").points.assign(pts, pts + n);
        return raster ? raster->Polyline(st, pts, n) : TRUE;
    }
    BOOL PolylineTo(const DCState& st, const POINT* pts, int n) override {
        Add(st, "PolylineTo").points.assign(pts, pts + n);
        return raster ? raster->PolylineTo(st, pts, n) : TRUE;
    }
    BOOL Polygon(const DCState& st, const POINT* pts, int n) override {
        Add(st, "Polygon").points.assign(pts, pts + n);
        return raster ? raster->Polygon(st, pts, n) : TRUE;
    }
    BOOL PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) override {
        GdiRecord& r = Add(st, "PolyPolygon");
        r.counts.assign(counts, counts + polys);
        int total = 0;
        for (int c : r.counts) total += c;
        r.points.assign(pts, pts + total);
        return raster ? raster->PolyPolygon(st, pts, counts, polys) : TRUE;
    }
    GdiRecord& AddRect(const DCState& st, const char* op, int l, int t, int r, int b) {
        GdiRecord& rec = Add(st, op);
        rec.rect = RECT{l, t, r, b};
        rec.hasRect = true;
        rec.args = {l, t, r, b};
        return rec;
    }
    BOOL Rectangle(const DCState& st, int l, int t, int r, int b) override {
        AddRect(st, "Rectangle", l, t, r, b);
        return raster ? raster->Rectangle(st, l, t, r, b) : TRUE;
    }
    BOOL RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) override {
        GdiRecord& rec = AddRect(st, "RoundRect", l, t, r, b);
        rec.args.push_back(ew);
        rec.args.push_back(eh);
        return raster ? raster->RoundRect(st, l, t, r, b, ew, eh) : TRUE;
    }
    BOOL Ellipse(const DCState& st, int l, int t, int r, int b) override {
        AddRect(st, "Ellipse", l, t, r, b);
        return raster ? raster->Ellipse(st, l, t, r, b) : TRUE;
    }
    BOOL ArcShape(const DCState& st, int kind, const RECT& box, POINT s, POINT e) override {
        static const char* const names[] = {"Arc", "Chord", "Pie"};
        GdiRecord& rec = AddRect(st, names[kind < 0 || kind > 2 ? 0 : kind], box.left, box.top, box.right, box.bottom);
        rec.points = {s, e};
        return raster ? raster->ArcShape(st, kind, box, s, e) : TRUE;
    }
    BOOL FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override {
        GdiRecord& rec = AddRect(st, "FillRect", r.left, r.top, r.right, r.bottom);
        rec.brush = brush;  // the brush passed, not the selected one
        return raster ? raster->FillRect(st, r, brush) : TRUE;
    }
    BOOL FillSolidRect(const DCState& st, const RECT& r, COLORREF color) override {
        GdiRecord& rec = AddRect(st, "FillSolidRect", r.left, r.top, r.right, r.bottom);
        rec.args.push_back(static_cast<int>(color));
        return raster ? raster->FillSolidRect(st, r, color) : TRUE;
    }
    BOOL FrameRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override {
        GdiRecord& rec = AddRect(st, "FrameRect", r.left, r.top, r.right, r.bottom);
        rec.brush = brush;
        return raster ? raster->FrameRect(st, r, brush) : TRUE;
    }
    BOOL InvertRect(const DCState& st, const RECT& r) override {
        AddRect(st, "InvertRect", r.left, r.top, r.right, r.bottom);
        return raster ? raster->InvertRect(st, r) : TRUE;
    }
    BOOL FillRgn(const DCState& st, const GdiRegion& rgn, const LOGBRUSH& brush) override {
        RECT box;
        rgn.GetBox(&box);
        GdiRecord& rec = AddRect(st, "FillRgn", box.left, box.top, box.right, box.bottom);
        rec.brush = brush;
        return raster ? raster->FillRgn(st, rgn, brush) : TRUE;
    }
    COLORREF SetPixel(const DCState& st, int x, int y, COLORREF c) override {
        Add(st, "SetPixel").args = {x, y, static_cast<int>(c)};
        return raster ? raster->SetPixel(st, x, y, c) : c;
    }
    COLORREF GetPixel(const DCState& st, int x, int y) override {
        return raster ? raster->GetPixel(st, x, y) : CLR_INVALID;
    }
    BOOL ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                    const int* dx) override {
        GdiRecord& rec = Add(st, "ExtTextOut");
        rec.args = {x, y, static_cast<int>(options)};
        rec.text = text;
        if (rect) {
            rec.rect = *rect;
            rec.hasRect = true;
        }
        if (dx) rec.dx.assign(dx, dx + Utf8Decode(text).size());  // one advance per character, as drawn
        return raster ? raster->ExtTextOut(st, x, y, options, rect, text, dx) : TRUE;
    }
    BOOL TextOut(const DCState& st, int x, int y, const std::string& text) override {
        GdiRecord& rec = Add(st, "TextOut");
        rec.args = {x, y};
        rec.text = text;
        return raster ? raster->TextOut(st, x, y, text) : TRUE;
    }
    int DrawText(const DCState& st, const std::string& text, RECT* rect, UINT format) override {
        GdiRecord& rec = Add(st, "DrawText");
        rec.args = {static_cast<int>(format)};
        rec.text = text;
        rec.rect = *rect;
        rec.hasRect = true;
        if (raster) return raster->DrawText(st, text, rect, format);
        // Without pixels the layout still gives the height the caller expects.
        RECT r = *rect;
        return FontEngine::Instance().LayoutDrawText(st.Font(), text, &r, format & ~DT_CALCRECT, nullptr);
    }
    BOOL BitBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                DWORD rop) override {
        Add(st, "BitBlt").args = {x, y, cx, cy, xs, ys, static_cast<int>(rop)};
        return raster ? raster->BitBlt(st, x, y, cx, cy, src, xs, ys, rop) : TRUE;
    }
    BOOL StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, DWORD rop) override {
        Add(st, "StretchBlt").args = {x, y, cx, cy, xs, ys, cxs, cys, static_cast<int>(rop)};
        return raster ? raster->StretchBlt(st, x, y, cx, cy, src, xs, ys, cxs, cys, rop) : TRUE;
    }
    BOOL PatBlt(const DCState& st, int x, int y, int cx, int cy, DWORD rop) override {
        Add(st, "PatBlt").args = {x, y, cx, cy, static_cast<int>(rop)};
        return raster ? raster->PatBlt(st, x, y, cx, cy, rop) : TRUE;
    }
    int StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                      const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) override {
        Add(st, "StretchDIBits").args = {x, y, cx, cy, xs, ys, cxs, cys, static_cast<int>(usage), static_cast<int>(rop)};
        if (raster) return raster->StretchDIBits(st, x, y, cx, cy, xs, ys, cxs, cys, bits, bmi, usage, rop);
        return bits && bmi ? (cys < 0 ? -cys : cys) : 0;
    }
    BOOL AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, BLENDFUNCTION blend) override {
        Add(st, "AlphaBlend").args = {x, y, cx, cy, xs, ys, cxs, cys, blend.SourceConstantAlpha, blend.AlphaFormat};
        return raster ? raster->AlphaBlend(st, x, y, cx, cy, src, xs, ys, cxs, cys, blend) : TRUE;
    }
    BOOL GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                      ULONG mode) override {
        GdiRecord& rec = Add(st, "GradientFill");
        rec.args = {static_cast<int>(mode)};
        rec.vertices.assign(v, v + nv);
        const ULONG per = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
        const ULONG* m = static_cast<const ULONG*>(mesh);
        rec.mesh.assign(m, m + per * nmesh);
        return raster ? raster->GradientFill(st, v, nv, mesh, nmesh, mode) : TRUE;
    }
    void Close(const DCState& st) override {
        if (raster) raster->Close(st);
    }
};

RecordBackend* Recorder(const CDC* dc) {
    return dynamic_cast<RecordBackend*>(dc->GetBackend());
}

}  // namespace

std::string GdiRecord::Describe() const {
    std::string s = op + "(";
    char buf[64];
    for (size_t i = 0; i < args.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%d", i ? ", " : "", args[i]);
        s += buf;
    }
    for (const POINT& p : points) {
        std::snprintf(buf, sizeof buf, " (%d,%d)", static_cast<int>(p.x), static_cast<int>(p.y));
        s += buf;
    }
    if (!text.empty()) s += " \"" + text + "\"";
    auto hex = [](COLORREF c) {
        char h[8];
        std::snprintf(h, sizeof h, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
        return std::string(h);
    };
    std::snprintf(buf, sizeof buf, ") pen %u/%d/", pen.lopnStyle, static_cast<int>(pen.lopnWidth.x));
    s += buf + hex(pen.lopnColor);
    std::snprintf(buf, sizeof buf, " brush %u/", brush.lbStyle);
    s += buf + hex(brush.lbColor) + " text " + hex(textColor) + " bk " + hex(bkColor) + (bkMode == OPAQUE ? "/opaque" : "/transparent");
    return s;
}

CRecordDC::~CRecordDC() {
    DeleteDC();
}

BOOL CRecordDC::Create(int width, int height) {
    if (m_hDC) return FALSE;
    auto backend = std::make_unique<RecordBackend>();
    if (width > 0 && height > 0) backend->raster = std::make_unique<RasterBackend>();
    if (!CreateBackendDC(std::move(backend))) return FALSE;
    if (width > 0 && height > 0) {
        if (!m_surface.CreateBitmap(width, height, 1, 32, nullptr)) {
            DeleteDC();
            return FALSE;
        }
        SelectObject(&m_surface);
        SetDeviceCaps(HORZRES, width);
        SetDeviceCaps(VERTRES, height);
    }
    Clear();
    return TRUE;
}

const std::vector<GdiRecord>& CRecordDC::GetRecords() const {
    static const std::vector<GdiRecord> none;
    RecordBackend* r = m_hDC ? Recorder(this) : nullptr;
    return r ? r->records : none;
}

std::vector<const GdiRecord*> CRecordDC::GetRecords(const char* op) const {
    std::vector<const GdiRecord*> out;
    for (const GdiRecord& r : GetRecords())
        if (op && r.op == op) out.push_back(&r);
    return out;
}

size_t CRecordDC::Count(const char* op) const {
    return GetRecords(op).size();
}

void CRecordDC::KeepTextsOnly() {
    if (RecordBackend* r = m_hDC ? Recorder(this) : nullptr) r->textsOnly = true;
}

void CRecordDC::Clear() {
    if (RecordBackend* r = m_hDC ? Recorder(this) : nullptr) r->records.clear();
}

std::string CRecordDC::Dump() const {
    std::string s;
    for (const GdiRecord& r : GetRecords()) s += r.Describe() + "\n";
    return s;
}
