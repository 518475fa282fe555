#include "platform/gdi/CMetaFileDC.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <set>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/DCBackend.h"
#include "platform/gdi/EmfBackend.h"

// A finished metafile: the file it was written to.
struct HENHMETAFILE__ {
    std::string path;
};

namespace {

std::mutex g_lock;
std::set<HENHMETAFILE__*> g_metafiles;  // live metafile handles

HENHMETAFILE NewMetafileHandle(const std::string& path) {
    auto* h = new HENHMETAFILE__{path};
    std::lock_guard<std::mutex> guard(g_lock);
    g_metafiles.insert(h);
    return h;
}

void Report(const std::string& text) { AfxDiagnostic("metafile", "%s", text.c_str()); }

// Device capabilities a metafile DC takes over from its reference DC.
const int kInheritedCaps[] = {HORZSIZE, VERTSIZE, HORZRES, VERTRES, BITSPIXEL, PLANES, LOGPIXELSX, LOGPIXELSY};

EmfBackend* MetafileBackend(CDC* dc) { return dc ? dynamic_cast<EmfBackend*>(dc->GetBackend()) : nullptr; }

}  // namespace

CMetaFileDC::~CMetaFileDC() {
    if (m_hDC && MetafileBackend(this)) {
        EmfBackend* be = MetafileBackend(this);
        if (!be->Finish()) Report(be->LastError());
    }
}

BOOL CMetaFileDC::CreateEnhanced(CDC* pDCRef, LPCTSTR lpszFileName, LPCRECT lpBounds, LPCTSTR lpszDescription) {
    if (m_hDC) {
        m_error = "this metafile DC is already in use; close it before creating another";
        Report(m_error);
        return FALSE;
    }
    EmfDevice device;
    int technology = DT_RASDISPLAY;
    const bool haveRef = pDCRef && pDCRef->m_hDC;
    if (haveRef) {
        device.widthPixels = pDCRef->GetDeviceCaps(HORZRES);
        device.heightPixels = pDCRef->GetDeviceCaps(VERTRES);
        device.dpiX = pDCRef->GetDeviceCaps(LOGPIXELSX);
        device.dpiY = pDCRef->GetDeviceCaps(LOGPIXELSY);
        technology = pDCRef->GetDeviceCaps(TECHNOLOGY);
    }
    auto backend = std::make_unique<EmfBackend>();
    if (!backend->Open(lpszFileName, device, technology, lpBounds, lpszDescription)) {
        m_error = backend->LastError();
        Report(m_error);
        return FALSE;
    }
    if (!CreateBackendDC(std::move(backend))) {
        m_error = "could not make a device context for the metafile";
        Report(m_error);
        return FALSE;
    }
    if (haveRef) {
        for (int index : kInheritedCaps) SetDeviceCaps(index, pDCRef->GetDeviceCaps(index));
    } else {
        SetDeviceCaps(HORZRES, device.widthPixels);
        SetDeviceCaps(VERTRES, device.heightPixels);
        SetDeviceCaps(LOGPIXELSX, device.dpiX);
        SetDeviceCaps(LOGPIXELSY, device.dpiY);
    }
    m_hAttribDC = haveRef ? pDCRef->m_hDC : m_hDC;
    m_error.clear();
    return TRUE;
}

HENHMETAFILE CMetaFileDC::CloseEnhanced() {
    EmfBackend* be = m_hDC ? MetafileBackend(this) : nullptr;
    if (!be) {
        m_error = "CloseEnhanced: this DC is not an open metafile";
        Report(m_error);
        return nullptr;
    }
    const BOOL ok = be->Finish();
    const std::string path = be->Path();
    const std::string why = be->LastError();
    DeleteDC();
    m_hAttribDC = nullptr;
    if (!ok) {
        m_error = why;
        Report(m_error);
        return nullptr;
    }
    return NewMetafileHandle(path);
}

HDC CreateEnhMetaFile(HDC hdcRef, LPCSTR lpFilename, const RECT* lprc, LPCSTR lpDesc) {
    CMetaFileDC dc;
    CDC* ref = hdcRef ? CDC::FromHandle(hdcRef) : nullptr;
    if (!dc.CreateEnhanced(ref, lpFilename, lprc, lpDesc)) return nullptr;
    // The handle outlives this wrapper; CloseEnhMetaFile or DeleteDC frees it.
    return dc.Detach();
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
    CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
    EmfBackend* be = MetafileBackend(dc);
    if (!be) {
        Report("CloseEnhMetaFile: the handle is not an open metafile DC");
        return nullptr;
    }
    const BOOL ok = be->Finish();
    const std::string path = be->Path();
    const std::string why = be->LastError();
    DeleteDC(hdc);
    if (!ok) {
        Report(why);
        return nullptr;
    }
    return NewMetafileHandle(path);
}

BOOL DeleteEnhMetaFile(HENHMETAFILE hemf) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!hemf || !g_metafiles.erase(hemf)) return FALSE;
    }
    delete hemf;
    return TRUE;
}
