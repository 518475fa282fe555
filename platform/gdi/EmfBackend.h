// EmfBackend: the metafile back end of a device context. Every drawing call and state change
// of the DC becomes enhanced-metafile records in a file, written through EmfWriter (libUEMF).
// Pens, brushes and fonts reach the file only when something is drawn with them, and the writer
// reuses an identical object, so a pen made, selected and put back for every segment costs one
// object in the file.
//
// Coordinates reach the file in the reference device's pixels (the DC's window and viewport
// origins are applied here). Text is written as EXTTEXTOUTW in UTF-16LE with the advance of
// every character measured by the shared font engine, so players place the glyphs where the
// raster back end draws them. Blits embed the source pixels. CMetaFileDC and
// CreateEnhMetaFile make DCs with this back end; use them rather than this class directly.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/DCBackend.h"
#include "platform/gdi/EmfWriter.h"

class EmfBackend : public DCBackend {
public:
    EmfBackend() = default;
    ~EmfBackend() override;

    // Creates the file (see EmfWriter::Open). `technology` is the reference device's, which
    // GetDeviceCaps(TECHNOLOGY) reports for a metafile DC.
    BOOL Open(const char* path, const EmfDevice& device, int technology, const RECT* frame, const char* description);
    // Finishes the file; later calls return the first result. A DC that goes away unfinished
    // is finished then, so nothing drawn is lost.
    BOOL Finish();
    BOOL IsOpen() const { return m_writer.IsOpen(); }
    const std::string& Path() const { return m_writer.Path(); }
    // The first failure since Open, or an empty text.
    const std::string& LastError() const { return m_error; }

    int Technology() const override { return m_technology; }
    void OnStateChange(const DCState& st, DCChange what, int arg) override;

    BOOL LineTo(const DCState& st, int x, int y) override;
    BOOL Polyline(const DCState& st, const POINT* pts, int n) override;
    BOOL Polygon(const DCState& st, const POINT* pts, int n) override;
    BOOL PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) override;
    BOOL Rectangle(const DCState& st, int l, int t, int r, int b) override;
    BOOL RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) override;
    BOOL Ellipse(const DCState& st, int l, int t, int r, int b) override;
    BOOL ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) override;

    BOOL FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override;
    BOOL InvertRect(const DCState& st, const RECT& r) override;
    BOOL FillRgn(const DCState& st, const GdiRegion& rgnLogical, const LOGBRUSH& brush) override;
    COLORREF SetPixel(const DCState& st, int x, int y, COLORREF c) override;

    BOOL ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                    const int* dx) override;

    BOOL StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, DWORD rop) override;
    int StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                      const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) override;
    BOOL AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, BLENDFUNCTION blend) override;
    BOOL GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                      ULONG mode) override;

    void Close(const DCState& st) override;

private:
    BOOL Check(BOOL ok);
    BOOL SyncPosition(const DCState& st);
    RECT DeviceRect(const DCState& st, int l, int t, int r, int b) const;
    std::vector<POINT> DevicePoints(const DCState& st, const POINT* pts, int n) const;
    void SelectCurrent(const DCState& st, DCChange what);
    // Writes the selections of the DC still pending among those asked for.
    void SelectPending(const DCState& st, bool pen, bool brush, bool font);

    EmfWriter m_writer;
    int m_technology = DT_RASDISPLAY;
    bool m_finished = false;
    BOOL m_finishResult = FALSE;
    POINT m_filePos{0, 0};   // current position as the file's last MOVETOEX/LINETO left it, device
    // The DC selected an object the file has not been told of yet.
    bool m_penPending = false;
    bool m_brushPending = false;
    bool m_fontPending = false;
    // Text alignment as the file has it: DrawText writes with its own alignment, which the
    // file must then be told; saved and restored with the DC state.
    UINT m_fileAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    std::vector<UINT> m_savedAligns;
    std::string m_error;
};
