// CMetaFileDC: a device context that records what is drawn into an enhanced metafile (.emf).
//
// CreateEnhanced makes the file for a reference DC: the metafile takes the reference's
// resolution and size (GetDeviceCaps on the metafile DC reports them) and m_hAttribDC points at
// the reference, which measures text. Draw as on any CDC, then CloseEnhanced finishes the file,
// frees the DC handle and returns a metafile handle; DeleteEnhMetaFile frees that handle and
// leaves the file on disk. The raw-handle calls CreateEnhMetaFile and CloseEnhMetaFile do the
// same for code that holds an HDC. Failures (an unwritable path, a full disk) return FALSE or
// nullptr and print a message on stderr; LastError() keeps it.
//
//     CMetaFileDC mf;
//     if (mf.CreateEnhanced(&screenDC, "/tmp/result.emf", nullptr, "Result")) {
//         mf.MoveTo(0, 0); mf.LineTo(100, 100);
//         DeleteEnhMetaFile(mf.CloseEnhanced());
//     }
#pragma once

#include <string>

#include "platform/gdi/CDC.h"

class CMetaFileDC : public CDC {
public:
    CMetaFileDC() = default;
    // A metafile never closed is finished here, so what was drawn reaches the file.
    ~CMetaFileDC() override;

    // pDCRef may be nullptr (the default 96-dpi screen); lpBounds is the picture frame in
    // .01 mm or nullptr to fit what is drawn; lpszDescription is UTF-8 or nullptr.
    BOOL CreateEnhanced(CDC* pDCRef, LPCTSTR lpszFileName, LPCRECT lpBounds, LPCTSTR lpszDescription);
    // Finishes the file; nullptr when it could not be written.
    HENHMETAFILE CloseEnhanced();
    void SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }

    const std::string& LastError() const { return m_error; }

private:
    std::string m_error;  // last failure, for callers and tests
};

HDC CreateEnhMetaFile(HDC hdcRef, LPCSTR lpFilename, const RECT* lprc, LPCSTR lpDesc);
#define CreateEnhMetaFileA CreateEnhMetaFile
// Finishes the metafile and frees the DC handle.
HENHMETAFILE CloseEnhMetaFile(HDC hdc);
// Frees the handle; the file stays on disk.
BOOL DeleteEnhMetaFile(HENHMETAFILE hemf);
