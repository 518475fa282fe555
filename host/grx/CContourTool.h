// The contour tool of the figures: interpolates scattered values (x, y, value) onto a grid,
// chooses the levels and traces each level's strip lines over the grid.
//
// Interpolation is the control's ordinary kriging (GKriging: one global system up to 400 points,
// the 24 nearest samples beyond; beyond 400 points every fourth row and column of nodes is
// estimated and the nodes between interpolated bilinearly). The grid has nx columns and ny rows
// of cells over the samples' box, 210 along its longer side by default (a step under 0.5 % of
// it, so that strip lines read smooth), (nx + 1) x (ny + 1) nodes; node k lies in column
// k % (nx + 1), row k / (nx + 1). A strip
// line is a run of two grid nodes: the cell edge crossings of a level are snapped to the nearer
// node of their edge, and the
// segments of a level are joined into runs of nodes.
//
//     CContourTool tool;
//     tool.put_ContourPar(par);
//     tool.ResetData(points);   // x, y, value
//     tool.Generate();          // levels, grid, strip lines
#pragma once

#include <string>
#include <vector>

#include "host/grx/C3DPoint.h"
#include "host/grx/GKriging.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

struct CContourToolPar {
    int nAutoLevels = 1;          // 1: nStripCount levels spread over the value range
    int nLevelCount = 0;          // fixed levels used when nAutoLevels is 0
    double dLevels[10] = {};
    int nStripCount = 8;          // automatic level count (at least 1)
    int nSubCount = 2;            // every nSubCount-th level is a main line
    double dMainWeight = 0.0;     // main line weight; 0.1 or less: the drawing's default
    double dSubWeight = 0.0;      // sub line weight; 0: left unset
    int nSubText = 1;             // labels on sub lines too
    int nRender = 1;              // shaded map on
    int nLabelInside = 1;         // labels only inside the outlines (the figure's flag, set here)
    double dTextHeight = 0.3;     // label height
    int nGrid = 210;              // cells along the longer side: a step under 0.5 % of it
};

class CContourTool {
public:
    void put_ContourPar(const CContourToolPar* par) { if (par) m_par = *par; }
    const CContourToolPar& GetContourPar() const { return m_par; }
    // The settings dialog (CContourSetDlg) over the parameters; 1 when its OK changed them, 0
    // when cancelled or nothing changed.
    int DlgSet();
    // Applies "KEY=VALUE" words as the dialog's OK does: levels=a,b,.. (at most 10; "auto" or
    // empty: automatic) strips=n (1..100, automatic levels) subcount=n (1..100) labelsinside=0|1
    // render=0|1 subtext=0|1 mainweight=w subweight=w (0..1000); 1 when something changed, 0
    // otherwise; an unknown key or a bad value sets m_strError, changes nothing and gives 0.
    int DlgSet(const std::vector<std::string>& answers);
    void ResetData(const std::vector<C3DPoint>* pts);
    // Levels, grid and strip lines from the data; 0 for fewer than one point.
    int Generate();
    // The factor from value to elevation: the value range scaled to unit height times ratio.
    double GetHeightFactor(double ratio) const;
    double InsertFunction(double x, double y) const { return m_krig.Estimate(x, y); }
    BOOL DrawRender() const { return m_par.nRender != 0; }
    int GetStripSubCount() const { return m_par.nSubCount < 1 ? 1 : m_par.nSubCount; }
    BOOL DrawSubStripText() const { return m_par.nSubText != 0; }
    double GetMainStripLineWeight() const { return m_par.dMainWeight; }
    double GetSubStripLineWeight() const { return m_par.dSubWeight; }
    double GetStripTextHeight() const { return m_par.dTextHeight; }
    // Colour of a level: blue at the first level to red at the last (colour2 the text colour).
    BOOL GetStripColor(int level, COLORREF& colour, COLORREF& colour2, int flag) const;
    BOOL GetStripText(int level, CString& text, double scale) const;
    // Colour of a value: that of the legend row whose band (level i-1, level i] holds it.
    BOOL GetZColor(double z, COLORREF& colour, COLORREF& colour2, int flag) const;

    // Public results of Generate.
    std::vector<double> m_Levels;
    double m_dXFrom = 0.0, m_dXTo = 0.0, m_dYFrom = 0.0, m_dYTo = 0.0;
    int m_nx = 0, m_ny = 0;
    static constexpr int kStride = 4;  // grid nodes between the estimated ones of many samples
    std::vector<std::vector<std::vector<int>>> m_Strips;  // per level, per strip line: node numbers
    std::string m_strError;

    // Two-node segments joined into node runs (each segment once; a closed run ends at its start).
    static std::vector<std::vector<int>> ChainSegments(const std::vector<std::vector<int>>& segs);

private:
    COLORREF RampColour(double t) const;
    CContourToolPar m_par;
    std::vector<C3DPoint> m_Data;
    GKriging m_krig;
    double m_dMin = 0.0, m_dMax = 0.0;
};

// Progress of the contour drawing: both calls show their text as the progress of the work under
// way (the host program's progress display, through the handler it sets), not as messages; only
// the last text is kept (GetLastProgress), so long loops flood nothing.
class CContourMsg {
public:
    static void MsgOut(LPCTSTR text);
    static void MsgOutAnalStringSamePos(LPCTSTR text, int flag);
    static std::string GetLastProgress();
    // Receives every progress text; null: none.
    static void SetProgressHandler(void (*handler)(const char* text));
};
