// CImageList: a numbered list of equally sized images for list and tree controls.
//
// Headless, only what the controls and callers observe is kept: image size, count and growth.
// An image list made from a bitmap resource takes its images from the bitmap the module
// registered under that id (RegisterImageListBitmap): one image per cx pixels of width.
#pragma once

#include "platform/afx/afx.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/uidefs.h"

struct _IMAGELIST;
typedef _IMAGELIST* HIMAGELIST;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList();
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL DeleteImageList();
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Remove(int nImage);   // -1 removes all
    int GetImageCount() const;
    BOOL SetImageCount(UINT uNewCount);
    BOOL GetIconSize(int& cx, int& cy) const;

private:
    int m_cx, m_cy, m_nCount, m_nGrow;
    UINT m_nFlags;
};

// Bitmap resources image lists are made from, registered by the module's resources.
BOOL RegisterImageListBitmap(UINT nIDBitmap, HBITMAP hBitmap);
BOOL UnregisterImageListBitmap(UINT nIDBitmap);
