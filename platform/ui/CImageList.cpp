// Image lists and the bitmap resources they are made from.
#include "platform/ui/CImageList.h"

#include <map>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {
std::map<UINT, HBITMAP>& Bitmaps() {
    static auto* m = new std::map<UINT, HBITMAP>;
    return *m;
}
uintptr_t g_nextList = 0x20000;

int ImagesIn(CBitmap* pbm, int cx) {
    if (!pbm || !pbm->GetSafeHandle() || cx <= 0) return 0;
    BITMAP bm{};
    if (!pbm->GetBitmap(&bm)) return 0;
    return std::max(1, static_cast<int>(bm.bmWidth) / cx);
}
}  // namespace

BOOL RegisterImageListBitmap(UINT nIDBitmap, HBITMAP hBitmap) {
    if (!hBitmap) return FALSE;
    Bitmaps()[nIDBitmap] = hBitmap;
    return TRUE;
}

BOOL UnregisterImageListBitmap(UINT nIDBitmap) { return Bitmaps().erase(nIDBitmap) > 0; }

CImageList::CImageList() : m_hImageList(nullptr), m_cx(0), m_cy(0), m_nCount(0), m_nGrow(0), m_nFlags(0) {}
CImageList::~CImageList() = default;

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    if (m_hImageList || cx <= 0 || cy <= 0) return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_nFlags = nFlags;
    m_nGrow = nGrow;
    m_nCount = 0;
    (void)nInitial;
    g_nextList += 4;
    m_hImageList = reinterpret_cast<HIMAGELIST>(g_nextList);
    return TRUE;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    auto it = Bitmaps().find(nBitmapID);
    if (it == Bitmaps().end()) {
        ui::Error("Image list: bitmap resource %u is not registered.", nBitmapID);
        return FALSE;
    }
    CBitmap* pbm = CBitmap::FromHandle(it->second);
    BITMAP bm{};
    if (!pbm || !pbm->GetBitmap(&bm) || cx <= 0) return FALSE;
    if (!Create(cx, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, nGrow)) return FALSE;
    return Add(pbm, crMask) >= 0;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    m_hImageList = nullptr;
    m_nCount = 0;
    return TRUE;
}

int CImageList::Add(CBitmap* pbmImage, CBitmap*) {
    int n = ImagesIn(pbmImage, m_cx);
    if (!m_hImageList || n == 0) return -1;
    int first = m_nCount;
    m_nCount += n;
    return first;
}

int CImageList::Add(CBitmap* pbmImage, COLORREF) { return Add(pbmImage, static_cast<CBitmap*>(nullptr)); }

int CImageList::Add(HICON hIcon) {
    if (!m_hImageList || !hIcon) return -1;
    return m_nCount++;
}

BOOL CImageList::Remove(int nImage) {
    if (!m_hImageList) return FALSE;
    if (nImage == -1) {
        m_nCount = 0;
        return TRUE;
    }
    if (nImage < 0 || nImage >= m_nCount) return FALSE;
    --m_nCount;
    return TRUE;
}

int CImageList::GetImageCount() const { return m_hImageList ? m_nCount : 0; }

BOOL CImageList::SetImageCount(UINT uNewCount) {
    if (!m_hImageList) return FALSE;
    m_nCount = static_cast<int>(uNewCount);
    return TRUE;
}

BOOL CImageList::GetIconSize(int& cx, int& cy) const {
    if (!m_hImageList) return FALSE;
    cx = m_cx;
    cy = m_cy;
    return TRUE;
}
