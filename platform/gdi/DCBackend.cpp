#include "platform/gdi/DCBackend.h"

#include <vector>

#include "platform/gdi/FontEngine.h"

const char* DCChangeName(DCChange what) {
    switch (what) {
    case DCChange::Pen:
    case DCChange::Brush:
    case DCChange::Font:
    case DCChange::Bitmap: return "SelectObject";
    case DCChange::TextColor: return "SetTextColor";
    case DCChange::BkColor: return "SetBkColor";
    case DCChange::BkMode: return "SetBkMode";
    case DCChange::TextAlign: return "SetTextAlign";
    case DCChange::Rop2: return "SetROP2";
    case DCChange::PolyFillMode: return "SetPolyFillMode";
    case DCChange::StretchBltMode: return "SetStretchBltMode";
    case DCChange::MapMode: return "SetMapMode";
    case DCChange::CurrentPosition: return "MoveTo";
    case DCChange::ViewportOrg: return "SetViewportOrg";
    case DCChange::WindowOrg: return "SetWindowOrg";
    case DCChange::BrushOrg: return "SetBrushOrg";
    case DCChange::Clip: return "SelectClipRgn";
    case DCChange::SaveDC: return "SaveDC";
    case DCChange::RestoreDC: return "RestoreDC";
    }
    return "?";
}

BOOL DCBackend::PolylineTo(const DCState& st, const POINT* pts, int n) {
    std::vector<POINT> all;
    all.reserve(static_cast<size_t>(n) + 1);
    all.push_back(st.curPos);
    all.insert(all.end(), pts, pts + n);
    return Polyline(st, all.data(), static_cast<int>(all.size()));
}

BOOL DCBackend::FillSolidRect(const DCState& st, const RECT& r, COLORREF color) {
    return FillRect(st, r, LOGBRUSH{BS_SOLID, color, 0});
}

BOOL DCBackend::FrameRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) {
    if (r.right <= r.left || r.bottom <= r.top) return FALSE;
    BOOL ok = FillRect(st, RECT{r.left, r.top, r.right, r.top + 1}, brush);
    ok &= FillRect(st, RECT{r.left, r.bottom - 1, r.right, r.bottom}, brush);
    ok &= FillRect(st, RECT{r.left, r.top, r.left + 1, r.bottom}, brush);
    ok &= FillRect(st, RECT{r.right - 1, r.top, r.right, r.bottom}, brush);
    return ok;
}

BOOL DCBackend::TextOut(const DCState& st, int x, int y, const std::string& text) {
    return ExtTextOut(st, x, y, 0, nullptr, text, nullptr);
}

int DCBackend::DrawText(const DCState& st, const std::string& text, RECT* rect, UINT format) {
    std::vector<GdiTextLine> lines;
    RECT r = *rect;
    const int height = FontEngine::Instance().LayoutDrawText(st.Font(), text, &r, format & ~DT_CALCRECT, &lines);
    // DrawText places text by its cell's top-left corner whatever the DC's alignment.
    DCState s = st;
    s.textAlign = TA_LEFT | TA_TOP;
    const UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    for (const GdiTextLine& l : lines)
        if (!l.text.empty()) ExtTextOut(s, l.x, l.y, options, rect, l.text, nullptr);
    return height;
}

BOOL DCBackend::BitBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                       DWORD rop) {
    return StretchBlt(st, x, y, cx, cy, src, xs, ys, cx, cy, rop);
}

BOOL DCBackend::PatBlt(const DCState& st, int x, int y, int cx, int cy, DWORD rop) {
    return StretchBlt(st, x, y, cx, cy, DCSource{}, 0, 0, cx, cy, rop);
}
