// The host program's hand-over to the results module's graphs, as plain C records and exported
// functions found with dlsym, so that neither side needs the other's classes.
//
// Mode-shape graphs: the host builds one series per mode for each side (value against level)
// and calls PVXHost_Draw2DGraph on the result view's model; the model asks the document for its
// graph view (CDBDoc::OpenGraphView, answered by the host with the module's multi-graph view
// made by run-time class) and fills it. The graph windows are the view's children 1 (left) and
// 2 (right). PVXHost_SaveGraphView writes the view's picture (a .bmp through MakeBMP, an .emf
// through a metafile DC); PVXHost_GetGraphInfo tells what one graph shows; PVXHost_SetGraphOptions
// sets the view's x scale and value labels.
//
//     PVXHostGraphSeries left[] = {{1, n, x, z}, ...};
//     auto draw = reinterpret_cast<PFN_PVXHOST_DRAW_2D_GRAPH>(dlsym(module, PVXHOST_DRAW_2D_GRAPH));
//     CView* view = draw(model, left, nLeft, right, nRight);   // null: no view was opened
//
// Time function window: PVXHost_GetTimeFunctionWnd gives the module's static graph window
// (I_PVXModel::m_TFuncWnd); the host creates its window, then hands it the picture, the series
// and the list control that a click selects in with PVXHost_SetTimeFunction.
#pragma once

#include "platform/afx/afxtypes.h"

class CDC;
class CView;
class CWnd;
class I_PVXModelBase;

#define PVXHOST_DRAW_2D_GRAPH "PVXHost_Draw2DGraph"
#define PVXHOST_SAVE_GRAPH_VIEW "PVXHost_SaveGraphView"
#define PVXHOST_GET_GRAPH_INFO "PVXHost_GetGraphInfo"
#define PVXHOST_SET_GRAPH_OPTIONS "PVXHost_SetGraphOptions"
#define PVXHOST_GET_TIME_FUNCTION_WND "PVXHost_GetTimeFunctionWnd"
#define PVXHOST_SET_TIME_FUNCTION "PVXHost_SetTimeFunction"

enum { PVXHOST_GRAPH_LEFT_ID = 1, PVXHOST_GRAPH_RIGHT_ID = 2 };  // child ids of the graph windows
enum { PVXHOST_GRAPH_BMP = 0, PVXHOST_GRAPH_EMF = 1 };          // formats of PVXHost_SaveGraphView

// One series: nPoints points (pX[i], pY[i]).
struct PVXHostGraphSeries {
    unsigned nKey;  // series number (mode number)
    int nPoints;
    const double* pX;
    const double* pY;
};

// What one graph of the view shows.
struct PVXHostGraphInfo {
    int bHasData;
    char szTitle[128], szXLabel[128];
    double dScale;          // the view's scale, per cent (applies to the graph of the larger magnitude)
    double dRangeFactor;    // this graph's x half-range over its largest magnitude
    double dX0, dX1, dY0, dY1;  // ranges
    double dLowX, dHighX;   // lowest and highest x
    unsigned nLowSeries, nHighSeries;
    char szLowLabel[64], szHighLabel[64];  // as the graph writes them under the axis; "" when it writes none
    // The series in the order the graph draws them, each with its pen colour (the first
    // kMaxKeySeries of nSeries).
    enum { kMaxKeySeries = 64 };
    int nSeries;
    unsigned aSeriesKey[kMaxKeySeries];
    COLORREF aSeriesColor[kMaxKeySeries];
};

// One x-y series shown by the time function window over a picture drawn by the host.
struct PVXHostTimeFunction {
    int nPoints;
    const double* pX;   // ascending
    const double* pY;
    double dX0, dX1, dY0, dY1;  // world ranges the picture was drawn with
    RECT rcPlot;        // plot rectangle of the picture, client pixels
    CDC* pPicture;      // the picture, read from (0, 0)
    int cx, cy;         // its size
    CWnd* pLinked;      // list control (combo box) a click selects the nearest point's row in
};

typedef CView* (*PFN_PVXHOST_DRAW_2D_GRAPH)(I_PVXModelBase* pModel, const PVXHostGraphSeries* pLeft, int nLeft,
                                            const PVXHostGraphSeries* pRight, int nRight);
// Non-zero when the file was written, in the format asked for whatever the name.
typedef int (*PFN_PVXHOST_SAVE_GRAPH_VIEW)(CView* pView, const char* pszPath, int nFormat);
// nGraph 0 left, 1 right; non-zero when pView is a graph view.
typedef int (*PFN_PVXHOST_GET_GRAPH_INFO)(CView* pView, int nGraph, PVXHostGraphInfo* pInfo);
// The view's x scale and the value labels (the number output of the view's model, as the number
// option dialog sets it), then a repaint; non-zero when taken.
struct PVXHostGraphOptions {
    double dScale;     // per cent for the graph of the larger magnitude, 1 to 100; 0 keeps the scale
    int bNumbers;      // value labels drawn
    int nDecimals;     // 0 to 15
    int bExponent;     // exponent notation
};
typedef int (*PFN_PVXHOST_SET_GRAPH_OPTIONS)(CView* pView, const PVXHostGraphOptions* pOptions);
typedef CWnd* (*PFN_PVXHOST_GET_TIME_FUNCTION_WND)();
// Non-zero when the window took the data.
typedef int (*PFN_PVXHOST_SET_TIME_FUNCTION)(CWnd* pWnd, const PVXHostTimeFunction* pData);
