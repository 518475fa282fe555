// Helpers shared by the drawing tests: a memory DC with a colour bitmap, pixel scans and the
// test's temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/afxgdi.h"

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// A memory DC with a colour bitmap of the given size, filled white.
struct RasterCanvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;

    RasterCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, w, h));
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~RasterCanvas() {
        if (old) dc.SelectObject(old);
    }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }
    // Number of pixels of colour c inside r.
    int Count(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == c;
        return n;
    }
    // Bounding box of the pixels that differ from colour bg; empty when none.
    CRect InkBox(COLORREF bg, const RECT& area) const {
        CRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
        bool any = false;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) != bg) {
                    any = true;
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return any ? box : CRect();
    }
};

inline std::string TestPath(const std::string& name) {
    return std::string(PVX_TEST_TMPDIR) + "/gdi_" + name;
}

inline int ChannelDiff(COLORREF a, COLORREF b) {
    int d = std::abs(int(GetRValue(a)) - int(GetRValue(b)));
    d = std::max(d, std::abs(int(GetGValue(a)) - int(GetGValue(b))));
    return std::max(d, std::abs(int(GetBValue(a)) - int(GetBValue(b))));
}

inline std::string Hex(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}
