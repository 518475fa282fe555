// CVdrawUtil: the vector drawing every plan figure is drawn into.
//
// A drawing is an ordered list of entities (texts, lines, polylines, circles, arcs, rectangles,
// arrows), each on a layer and identified by a long id (> 0, never reused within a drawing).
// List order is drawing order (z-order): later entities cover earlier ones; BringBottom moves an
// entity to the front of the list.
//
// Units. Draw calls take model coordinates; the drawing stores them multiplied by the draw scale
// (drawing units). Text heights are the style's height (or the height passed) in drawing units
// and are NOT multiplied by the scale, so a larger scale spreads the geometry under texts of the
// same size. GetTextHeight, GetDrawingBoundary, RotateFigure's centre and MoveFigure work in
// drawing units; MoveTextX works in model units (its offsets are multiplied by the scale). With
// a draw scale below 1e-6 every Draw call draws nothing and returns 0.
//
// Justification codes (VdConstHorJust, VdConstVerJust) place a text's box (its advance width
// by its height, baseline at the bottom) against the insertion point: horizontal 2 left edge,
// 6 centre, 0 right edge (any other code: left); vertical 8 bottom (baseline), 100 middle, 0
// top (any other code: bottom). Rotation turns the box about the insertion point.
//
// Colours are COLORREF (0x00BBGGRR). An entity without a colour of its own takes its layer's.
// Line weights are in hundredths of a millimetre (100 = 1 mm); 0 takes the layer's width.
//
// Export (ExportToDwg) writes DXF release 12 through dxflib when the name ends in ".dxf" (any
// case); DWG cannot be written: any other name writes nothing and fails with a diagnostic.
// Rendering (Render, RenderToFile) draws the view window into any CDC on a black background.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "host/base/GeomTypes.h"

class CDC;
class CVdrawUtil;
struct T_MEMBDLG_3DPOINT;
struct T_MEMBDLG_3DPOINT_LIST_ITEM;
class CZELF_Polyline2D;

// Horizontal justification codes of DrawText.
enum VdConstHorJust { VdTextHorRight = 0, VdTextHorLeft = 2, VdTextHorCenter = 6 };
// Vertical justification codes of DrawText.
enum VdConstVerJust { VdTextVerTop = 0, VdTextVerBottom = 8, VdTextVerCenter = 100 };
// Pen codes of AddLayer: solid lines, or the dash-dot pattern of axis lines.
enum VdConstPen { VdPenDashDot = 101, VdPenSolid = 999 };

// Kind of a movable figure text (the figures number them; the drawing only stores them).
typedef int DrawTextType;

// Kinds of entity a drawing holds.
enum VdFigureKind {
    VdKindText = 1,
    VdKindLine,
    VdKindPolyLine,
    VdKindCircle,
    VdKindArc,
    VdKindRect,
    VdKindArrow
};

// A text style. The host record was laid out by 32-bit byte offset; the fields here are named
// and the offsets are kept only in the comments:
//   0 strName       the record's own name (the style's name is AddTextStyle's first argument)
//   4 nCharSet      stored; no effect (texts are UTF-8)
//   8 nPitchFamily  stored; no effect
//  12 strFaceName   font face ("宋体" is drawn with the raster back end's CJK face)
//  16 strBigFont    DXF big-font file name, written to the STYLE table when not empty
//  20 strShapeFile  stored; no effect
//  24 dHeight       text height in drawing units (> 0; 0 or less takes 1.0)
//  32 strRemark     stored; no effect
//  36 nBold         1: bold (pictures; DXF release 12 has no bold)
//  40 nItalic       1: italic (pictures; DXF release 12 has no italic)
//  44 nUnderline    1: underlined (pictures only)
//  48 nStrikeOut    1: struck out (pictures only)
//  52 nVertical     stored; no effect
struct sEVETextStyle {
    CString strName;
    int nCharSet = 0;
    int nPitchFamily = 0;
    CString strFaceName;
    CString strBigFont;
    CString strShapeFile;
    double dHeight = 1.0;
    CString strRemark;
    int nBold = 0;
    int nItalic = 0;
    int nUnderline = 0;
    int nStrikeOut = 0;
    int nVertical = 0;
};

// The points of an entity: up to two (a text's insertion point, a line's ends) kept in place,
// more in one heap block. The part of a vector's interface the drawing's users need.
class VdPoints {
public:
    VdPoints() {}
    VdPoints(const VdPoints& o) { Assign(o.begin(), o.size()); }
    VdPoints& operator=(const VdPoints& o) {
        if (this != &o) Assign(o.begin(), o.size());
        return *this;
    }
    VdPoints& operator=(const std::vector<T_POINT2D>& v) {
        Assign(v.data(), v.size());
        return *this;
    }
    ~VdPoints() { Free(); }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T_POINT2D* data() { return m_cap > kInPlace ? m_heap : m_in; }
    const T_POINT2D* data() const { return m_cap > kInPlace ? m_heap : m_in; }
    T_POINT2D* begin() { return data(); }
    T_POINT2D* end() { return data() + m_size; }
    const T_POINT2D* begin() const { return data(); }
    const T_POINT2D* end() const { return data() + m_size; }
    T_POINT2D& operator[](size_t i) { return data()[i]; }
    const T_POINT2D& operator[](size_t i) const { return data()[i]; }
    T_POINT2D& front() { return data()[0]; }
    const T_POINT2D& front() const { return data()[0]; }
    T_POINT2D& back() { return data()[m_size - 1]; }
    const T_POINT2D& back() const { return data()[m_size - 1]; }
    void push_back(const T_POINT2D& p);
    template <class... A> void emplace_back(A&&... a) { push_back(T_POINT2D(std::forward<A>(a)...)); }
    void pop_back() { --m_size; }
    void clear() { m_size = 0; }
    operator std::vector<T_POINT2D>() const { return std::vector<T_POINT2D>(begin(), end()); }

private:
    static constexpr uint32_t kInPlace = 2;
    void Assign(const T_POINT2D* p, size_t n);
    void Free();
    uint32_t m_size = 0;
    uint32_t m_cap = kInPlace;
    union {
        T_POINT2D m_in[kInPlace] = {};
        T_POINT2D* m_heap;  // when m_cap > kInPlace
    };
};

// One entity of a drawing, as handed to the figure view's text-move hook. Coordinates are
// drawing units. Owned by its drawing; the address is valid until the entity is deleted.
class CvdFigure {
public:
    CvdFigure() { m_radius = m_startAngle = m_endAngle = 0.0; }
    long GetId() const { return m_id; }
    VdFigureKind GetKind() const { return static_cast<VdFigureKind>(m_kind); }
    int GetLayer() const { return m_layer; }
    BOOL IsText() const { return m_kind == VdKindText; }

    // Geometry, by kind:
    //   text       points[0] insertion point; m_text, m_height, m_angle, m_horJust, m_verJust
    //   line       points[0] -> points[1]
    //   polyline   points (closed when m_closed; filled when m_fill)
    //   circle     points[0] centre, m_radius (filled when m_fill)
    //   arc        points[0] centre, m_radius, counter-clockwise from m_startAngle to m_endAngle
    //   rectangle  points: its four corners, counter-clockwise, closed (filled when m_fill)
    //   arrow      points[0] tail -> points[1] tip; m_headSize head length; m_colour2 head
    VdPoints m_points;
    CString m_text;
    // The measures of one kind share their place with another kind's: read only the kind's own.
    union {
        struct {
            double m_height;  // text height, drawing units
            double m_angle;   // text rotation, degrees counter-clockwise
        };
        struct {
            double m_radius;
            double m_startAngle;  // degrees, arcs run counter-clockwise from start to end
            double m_endAngle;
        };
        double m_headSize;
    };
    COLORREF m_colour = 0;
    COLORREF m_colour2 = 0;     // arrow head
    int32_t m_weight = 0;       // 1/100 mm; 0: the layer's width
    int16_t m_style = 0;        // text style index
    int16_t m_horJust = VdTextHorLeft;
    int16_t m_verJust = VdTextVerBottom;
    bool m_closed = false;
    bool m_fill = false;
    bool m_hasColour = false;   // false: the layer's colour
    bool m_movable = false;     // set by ReSetTextType(id, NULL)

private:
    friend class CVdrawUtil;
    uint8_t m_kind = VdKindLine;
    int32_t m_id = 0;           // 0: a free place of the drawing's pool
    int32_t m_layer = 0;
    uint32_t m_prev = 0;        // neighbours in drawing order (places in the pool)
    uint32_t m_next = 0;
};

// What few entities carry besides their geometry, kept by the drawing beside them
// (CVdrawUtil::GetFigureExtra) so that a sheet of many plain entities stays small.
struct VdFigureExtra {
    BOOL colourFlag = FALSE;  // SetFigureColor's third argument, kept; no effect on pictures
    CString lineType;         // stored; no effect (the layer's pen code gives the pattern)
    CString toolTip;
    CString textType;         // ReSetTextType's type name, when one is given
    std::map<CString, int> xInt;  // X-properties (AddXPropertyInt)
};

// A layer of a drawing.
struct VdLayer {
    int id = 0;
    CString caption;
    COLORREF colour = 0xFFFFFF;
    long width = 0;    // default line weight, 1/100 mm
    int pen = VdPenSolid;
};

class CVdrawUtil {
public:
    CVdrawUtil();
    ~CVdrawUtil();
    CVdrawUtil(const CVdrawUtil&) = delete;
    CVdrawUtil& operator=(const CVdrawUtil&) = delete;

    // ---- Layers ----
    // Adds layer id. An id that exists already keeps its caption, colour, width and pen (figures
    // sharing a drawing re-add the layers another set up). Returns TRUE when the layer exists
    // afterwards. Layer 0 ("0", white) always exists. flags of the six-argument form: no effect.
    BOOL AddLayer(int id, const CString& caption, COLORREF colour, long width, int pen);
    BOOL AddLayer(int id, const CString& caption, COLORREF colour, long width, int flags, int pen);
    // Later entities go to layer id; FALSE (current layer unchanged) when it does not exist.
    BOOL SetCurrentLayer(const int& id);
    int GetCurrentLayer() const { return m_currentLayer; }
    const VdLayer* GetLayer(int id) const;
    // Recolours layer id (the layer dialog); FALSE for an unknown layer.
    BOOL SetLayerColor(int id, COLORREF colour);
    // Every layer in id order (layer 0 first).
    std::vector<const VdLayer*> GetLayers() const;

    // ---- Text styles ----
    // Adds the style name, or with replace set replaces an existing one's record. Returns the
    // style's index (>= 1), or 0 when name is empty or exists and replace is 0.
    int AddTextStyle(const CString& name, const sEVETextStyle& style, int replace);
    // Binds the figure's style id to the style name (so SetCurrentTextStyle(id) selects it);
    // FALSE when no such style exists.
    BOOL AddTextStyle(int id, const CString& name);
    // Non-zero and style filled when the style name exists.
    BOOL GetTextStyle(const CString& name, sEVETextStyle& style) const;
    // Later texts take the style bound to id (AddTextStyle(int, name)), else the style whose
    // index is id; FALSE (unchanged) when neither exists. Style index 0 is the default style
    // "STANDARD" (height 1, face "宋体").
    BOOL SetCurrentTextStyle(const int& id);
    int GetCurrentTextStyle() const { return m_currentStyle; }
    // Styles by index (0 "STANDARD"); an index out of range gives style 0.
    int GetTextStyleCount() const { return static_cast<int>(m_styles.size()); }
    const sEVETextStyle& GetStyleRecord(int index) const;
    const CString& GetStyleName(int index) const;
    // Style names in index order.
    std::vector<CString> GetTextStyleNames() const;

    // ---- Draw scale ----
    void SetDrawScale(double scale);
    double GetDrawScale() const { return m_scale; }

    // ---- Entities (model coordinates; each returns the new id, 0 when nothing was drawn) ----
    // Text on the current style; height > 0 overrides the style's height (drawing units);
    // angle in degrees counter-clockwise. Control characters are shown as blanks.
    long DrawText(const CString& text, double x, double y, int verJust = VdTextVerBottom,
                  int horJust = VdTextHorLeft, double height = 0.0, double angle = 0.0);
    // Text at (x, y, z) of the given height (drawing units; 0 or less: the style's); z is a
    // plan drawing's elevation and is not kept.
    long DrawTextA(const CString& text, double x, double y, double z, double height);
    long DrawTextA(const CString& text, double x, double y, int verJust, int horJust, double height,
                   double angle);
    // z: not kept (plan drawing).
    long DrawLine(double x1, double y1, double x2, double y2, double z = 0.0);
    long DrawLine(const T_POINT2D& a, const T_POINT2D& b);
    // Polyline through the points; closed when the last point repeats the first; fill 1 fills
    // it (closing it). lineType: stored, no effect; the two trailing ints: no effect.
    long DrawPolyLine(const T_POINT2D* points, int count, int fill, const CString& lineType);
    long DrawPolyLine(const T_POLYGON2D& polygon, int fill, const CString& lineType, int a = 0, int b = 0);
    long DrawPolyLine(const CArray<T_POINT2D>& points, int fill, const CString& lineType, int a = 0,
                      int b = 0);
    // 3-D point lists: z is not kept.
    long DrawPolyLine(const T_MEMBDLG_3DPOINT* points, int count, int fill, const CString& lineType);
    long DrawPolyLine(const CArray<T_MEMBDLG_3DPOINT>& points, int fill, const CString& lineType);
    long DrawPolyLine(const T_MEMBDLG_3DPOINT_LIST_ITEM& points, int fill, const CString& lineType);
    // A plan polyline with arc segments, drawn as its arcs divided into chords.
    long DrawPolyLine(const CZELF_Polyline2D& polyline, int a, int b);
    // Circle of radius r about (cx, cy); z not kept; fill 1 fills it.
    long DrawCircle(double cx, double cy, double z, double r, int fill = 0, const CString& lineType = "");
    // Arc about (cx, cy) of radius r from start to end (degrees); ccw 0 runs clockwise from
    // start to end (kept as the counter-clockwise arc from end to start).
    long DrawArc(double cx, double cy, double r, double start, double end, int ccw);
    // Rectangle with lower-left corner (x, y), width w, height h, turned by angle degrees
    // counter-clockwise about its centre; fill 1 fills it.
    long DrawRect1(double x, double y, double w, double h, double angle, int fill = 0,
                   const CString& lineType = "");
    // Arrow from tail to tip: a shaft in colour and a filled triangular head in headColour,
    // headSize long (model units) and headSize / 3 wide on each side; weight as SetLineWeight.
    long AddArrow(const T_POINT2D& tail, const T_POINT2D& tip, double headSize, COLORREF colour,
                  COLORREF headColour, double weight);

    // ---- Queries ----
    // The height a text drawn now without a height of its own takes (the current style's),
    // drawing units.
    double GetStyleTextHeight() const;
    // Height of a text, drawing units (0 for a non-text or unknown id).
    double GetTextHeight(long id) const;
    // Height of the box the texts make together (top of the highest minus bottom of the lowest,
    // rotation included), drawing units; 0 when none is a text.
    double GetTextHeight(const CArray<long>& ids) const;
    // {xmin, ymin, xmax, ymax} of every entity in drawing units; FALSE when the drawing is empty.
    // Texts count with their box (advance widths estimated: 1 height per CJK character, 0.6
    // heights otherwise).
    BOOL GetDrawingBoundary(double box[4]) const;
    CvdFigure* GetFigure(long id);
    const CvdFigure* GetFigure(long id) const;
    int GetFigureCount() const { return static_cast<int>(m_count); }
    // The entities in drawing order: for (const CvdFigure& f : drawing.Figures()).
    class FigureRange;
    FigureRange Figures() const;
    // The id the next entity drawn gets: every id of the drawing is below it.
    long GetNextId() const { return m_nextId; }
    // Ids in drawing order.
    std::vector<long> GetFigureIds() const;
    // The entity's tool tip, line type, text type, X-properties and colour flag; null when none
    // was ever set (or for an unknown id).
    const VdFigureExtra* GetFigureExtra(long id) const;

    // ---- Entity edits (FALSE for an unknown id) ----
    // The flag is kept with the entity (GetFigureExtra) and changes nothing drawn.
    BOOL SetFigureColor(long id, const COLORREF& colour, BOOL flag);
    // Line weight in 1/100 mm, drawn in pictures while SetLineWeightDisplay is on: width in
    // pixels = max(1, round(weight x 96 / 2540)) (96 pixels per inch), else 1 pixel.
    BOOL SetLineWeight(long id, long weight);
    void SetLineWeightDisplay(int on) { m_weightDisplay = on != 0; }
    BOOL GetLineWeightDisplay() const { return m_weightDisplay; }
    // Stored with the entity; no effect on pictures or export.
    BOOL SetToolTip(long id, const CString& text);
    // Moves the entity to the bottom of the z-order (drawn first).
    BOOL BringBottom(long id);
    // Turns the entity by degrees counter-clockwise about centre (drawing units). redraw: no
    // effect (the view repaints on its own).
    BOOL RotateFigure(long id, double degrees, const T_POINT2D& centre, int redraw = 0);
    // Moves the entity by (dx, dy) drawing units (a drag in the view).
    BOOL MoveFigure(long id, double dx, double dy);
    // Removes the entities; returns how many existed.
    int DeleteFigure(const CArray<long>& ids);
    int DeleteFigure(long id);
    // Removes every entity (with its tool tip and X-properties); layers, text styles, the draw
    // scale and the line-weight display stay.
    void RemoveAllData();

    // ---- X-properties and text moves ----
    // Sets the integer property name of the entity.
    BOOL AddXPropertyInt(long id, const CString& name, int value);
    BOOL GetXPropertyInt(long id, const CString& name, int& value) const;
    // Reads the integer property name of a text handed to the view's text-move hook; FALSE when
    // the text is null or lacks the property.
    BOOL GetTextPosInfo_VDF(const CvdFigure* text, const CString& name, int& value) const;
    // Moves a text by (dx, dy) model units (multiplied by the draw scale); FALSE for a non-text.
    BOOL MoveTextX(long id, double dx, double dy);
    // NULL marks the text movable by the user (CvdFigure::m_movable); a type name is stored
    // instead. FALSE for a non-text.
    BOOL ReSetTextType(long id, const char* type);

    // ---- View ----
    // Fits the view window to the drawing boundary (5 % margin each side).
    void ZoomAll();
    // Zooms to the window set by SetZoomWindow (a person would drag it); without one the view
    // stays. Counted.
    void ZoomWindow();
    void SetZoomWindow(double x1, double y1, double x2, double y2);
    // Headless: counted, nothing shown.
    void PrintPreview() { ++m_printPreviews; }
    int GetZoomAllCount() const { return m_zoomAlls; }
    int GetZoomWindowCount() const { return m_zoomWindows; }
    int GetPrintPreviewCount() const { return m_printPreviews; }
    // The view window {xmin, ymin, xmax, ymax} in drawing units; FALSE when none is set yet
    // (rendering then fits the boundary).
    BOOL GetViewWindow(double box[4]) const;

    // ---- Export and rendering ----
    // ".dxf" (any case): DXF release 12, non-zero on success. Any other name: nothing written,
    // a diagnostic, 0. version: the host's format code, kept; no effect.
    int ExportToDwg(int version, const CString& file);
    // Draws the view window, fitted and centred, into rect of dc on a black background.
    BOOL Render(CDC* dc, const CRect& rect) const;
    // Renders into a width x height picture: ".bmp" 24-bit bitmap, ".emf" enhanced metafile;
    // FALSE (with a diagnostic) for any other name or a failed write.
    BOOL RenderToFile(const CString& file, int width, int height) const;

private:
    CvdFigure* NewFigure(VdFigureKind kind);
    long AddPolyLine(std::vector<T_POINT2D>&& scaled, int fill, const CString& lineType);
    friend struct VdExporter;
    BOOL CanDraw() const { return m_scale >= 1e-6; }

    // Entities live in a pool of fixed blocks (no allocation of their own, addresses stable);
    // a deleted entity's place goes to the next one drawn. Drawing order runs through the
    // places' m_prev / m_next links from m_first.
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    static constexpr uint32_t kBlockBits = 10;
    CvdFigure& At(uint32_t place) const { return m_pool[place >> kBlockBits][place & ((1u << kBlockBits) - 1)]; }
    uint32_t Find(long id) const;  // the place of id, kNone when there is no such entity
    void Unlink(uint32_t place);
    std::vector<std::unique_ptr<CvdFigure[]>> m_pool;
    uint32_t m_places = 0;                       // places handed out so far
    std::vector<uint32_t> m_free;                // places of deleted entities
    uint32_t m_first = kNone;
    uint32_t m_last = kNone;
    size_t m_count = 0;
    // Place of id m_idBase + i; kNone once deleted. RemoveAllData starts a new base, so the
    // index holds only the ids of the current entities' generation.
    std::vector<uint32_t> m_index;
    std::unordered_map<long, VdFigureExtra> m_extra;  // by id, only entities that have one
    long m_idBase = 1;
    long m_nextId = 1;
    std::map<int, VdLayer> m_layers;
    int m_currentLayer = 0;
    std::vector<std::pair<CString, sEVETextStyle>> m_styles;  // by index
    std::map<int, int> m_styleIds;                             // figure id -> index
    int m_currentStyle = 0;
    double m_scale = 1.0;
    BOOL m_weightDisplay = FALSE;
    BOOL m_hasView = FALSE;
    double m_view[4] = {0.0, 0.0, 0.0, 0.0};
    BOOL m_hasZoomWindow = FALSE;
    double m_zoomWindow[4] = {0.0, 0.0, 0.0, 0.0};
    int m_zoomAlls = 0;
    int m_zoomWindows = 0;
    int m_printPreviews = 0;
};

class CVdrawUtil::FigureRange {
public:
    class iterator {
    public:
        iterator(const CVdrawUtil* d, uint32_t place) : m_d(d), m_place(place) {}
        const CvdFigure& operator*() const { return m_d->At(m_place); }
        iterator& operator++() {
            m_place = m_d->At(m_place).m_next;
            return *this;
        }
        bool operator!=(const iterator& o) const { return m_place != o.m_place; }

    private:
        const CVdrawUtil* m_d;
        uint32_t m_place;
    };
    explicit FigureRange(const CVdrawUtil* d) : m_d(d) {}
    iterator begin() const { return iterator(m_d, m_d->m_first); }
    iterator end() const { return iterator(m_d, kNone); }

private:
    const CVdrawUtil* m_d;
};

inline CVdrawUtil::FigureRange CVdrawUtil::Figures() const { return FigureRange(this); }
