// CRecordDC: a device context that keeps every call as a record, so tests can check what was
// drawn, in which order, with which pen, brush, font and colours.
//
// Each record has the operation's name ("LineTo", "Polygon", "TextOut", "GradientFill",
// "SelectObject", "SetTextColor" ...), its arguments and a snapshot of the state the call saw.
// State-setting calls are recorded after the state changed, so their snapshot shows the new
// value. Create(width, height) with a size also draws every call on a raster bitmap of that
// size, so GetPixel and blits from the DC work; without a size nothing is drawn, but text is
// still measured with the raster font engine.
//
//     CRecordDC dc;
//     dc.Create();
//     module.Draw(&dc);
//     for (const GdiRecord* r : dc.GetRecords("TextOut")) EXPECT_EQ(r->textColor, RGB(255, 0, 0));
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/CDC.h"

struct GdiRecord {
    std::string op;                 // name of the call
    std::vector<int> args;          // integer arguments in call order (see CRecordDC.cpp per op)
    std::vector<POINT> points;      // polyline/polygon points, logical
    std::vector<int> counts;        // PolyPolygon: points per polygon
    std::string text;               // UTF-8 text of text calls
    RECT rect{0, 0, 0, 0};          // rectangle argument, when the call has one
    bool hasRect = false;
    std::vector<TRIVERTEX> vertices;  // GradientFill
    std::vector<ULONG> mesh;          // GradientFill: 3 indices per triangle or 2 per rectangle
    std::vector<int> dx;              // ExtTextOut advances

    // State at the call.
    LOGPEN pen{};
    LOGBRUSH brush{};
    LOGFONT font{};
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = 0;
    UINT textAlign = 0;
    int rop2 = 0;
    int polyFillMode = 0;
    POINT curPos{0, 0};
    bool hasClip = false;
    RECT clipBox{0, 0, 0, 0};       // device bounding box of the clip region, when hasClip

    int Arg(size_t i) const { return i < args.size() ? args[i] : 0; }
    // One line of text describing the record, for failure messages.
    std::string Describe() const;
};

class CRecordDC : public CDC {
public:
    CRecordDC() = default;
    ~CRecordDC() override;

    // A recording DC; with width and height > 0 it also draws on a colour bitmap of that size.
    BOOL Create(int width = 0, int height = 0);

    const std::vector<GdiRecord>& GetRecords() const;
    std::vector<const GdiRecord*> GetRecords(const char* op) const;
    size_t Count(const char* op) const;
    // From now on keeps the text calls only (TextOut, ExtTextOut, DrawText): a caller that looks
    // at the texts of a large drawing need not hold its every polygon.
    void KeepTextsOnly();
    void Clear();
    // Every record, one per line.
    std::string Dump() const;

private:
    CBitmap m_surface;  // raster picture when created with a size
};
