// CFVDBase: the root class of every plan figure (base maps and design/check sheets).
//
// One object per catalogue leaf draws one sheet into a vector drawing (CVdrawUtil). The base
// owns what every figure shares: its catalogue type, the base maps drawn beneath it, the display
// settings (draw scale, ratio mode, precision), the load-case list and current load case, the
// layers and text styles it sets up in the drawing, the contour parameters of the contour
// figures and the notes block (title, load case, description) drawn under a finished figure.
//
// The catalogue controller (CPVXFigure) makes the objects by run-time class name, so every
// concrete figure declares DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE with CFVDBase (or one of its
// subclasses) as base. The life of a figure:
//
//     fig->SetType(EFVDT_ISO_CHECK_CZL);    // the controller, before anything else
//     fig->Prepare(FALSE);                  // base maps and defaults
//     fig->Display(drawing);                // layers, text styles, defaults
//     fig->SetNotesFlag(TRUE);
//     fig->SetLoadCase(key);
//     fig->DrawFigure();                    // ApplyScale, the sheet, DrawFigureNotes
//
// Subclasses override the virtual operations below; the base versions are the behaviour of a
// figure that draws nothing.
#pragma once

#include <string>

#include "host/grx/CContourTool.h"

#include <functional>
#include <list>
#include <map>
#include <vector>

#include "host/base/CZELF_Polyline2D.h"
#include "host/base/GeomTypes.h"
#include "host/vdraw/CVdrawUtil.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CObject.h"
#include "platform/afx/CString.h"

class CDataBase;

// The number of a catalogue record. Up to 20: group records; 21 to 90: base maps; 91 to 98:
// slab-band base maps; 99 and above: result figures. The caption key of a record is
// "IDS_TM_FIGURE_" + the enumerator's name.
enum EFigureType : int {
    EFVDT_NONE = 0,
    // Groups.
    EFVDT_ISO = 2,
    EFVDT_BEAN = 3,
    EFVDT_MTSB = 4,
    EFVDT_PILE = 5,
    EFVDT_SINK = 6,
    EFVDT_MTSB_CHECK = 7,
    EFVDT_MTSB_DESIGN = 8,
    EFVDT_MTSB_CHECK_PLAT = 11,
    EFVDT_MTSB_CHECK_BEAM = 12,
    // Base maps.
    EFVDT_BaseMap_QSN_AXIG = 31,
    EFVDT_BaseMap_Top_Column = 32,
    EFVDT_BaseMap_Top_Wall = 33,
    EFVDT_BaseMap_QSN_COLF = 41,
    EFVDT_BaseMap_QSN_BEAM = 42,
    EFVDT_BaseMap_QSN_MTSB = 43,
    EFVDT_BaseMap_QSN_PILE = 44,
    EFVDT_BaseMap_QSN_PILE_Info = 45,
    EFVDT_BaseMap_QSN_SinkMesh = 46,
    EFVDT_BaseMap_QSN_SlabDir = 47,
    EFVDT_BaseMap_QSN_Sbbd_M = 91,
    EFVDT_BaseMap_QSN_Sbbd_AS = 92,
    // Isolated footings.
    EFVDT_ISO_FORCE_Moment = 100,
    EFVDT_ISO_CHECK_CQ = 130,
    EFVDT_ISO_CHECK_JQ = 131,
    EFVDT_ISO_CHECK_CZL = 132,
    EFVDT_ISO_CHECK_WEAK = 133,
    EFVDT_ISO_DESIGN_As = 160,
    EFVDT_ISO_DESIGN_As_BotSlab = 161,
    EFVDT_ISO_DESIGN_M_BotSlab = 162,
    EFVDT_Bean_Froce_Moment_Link = 163,
    EFVDT_Bean_Froce_Shearing_Link = 164,
    EFVDT_Bean_Froce_Torsion_Link = 165,
    EFVDT_BEAM_DESIGN_AS_Link = 166,
    EFVDT_BEAM_DESIGN_CRACK_Link = 167,
    // Beams.
    EFVDT_Bean_Check_CZL = 200,
    EFVDT_Bean_Froce_Moment = 201,
    EFVDT_Bean_Froce_Shearing = 202,
    EFVDT_Bean_Froce_Torsion = 203,
    EFVDT_BEAM_DESIGN_AS = 261,
    EFVDT_BTSB_DESIGN_Force = 262,
    EFVDT_BEAM_DESIGN_SLABAS = 263,
    EFVDT_BEAM_DESIGN_RACT = 264,
    EFVDT_BEAM_DESIGN_DISP = 265,
    EFVDT_BEAM_DESIGN_CRACK = 266,
    // Piles.
    EFVDT_Pile_CHECK_CQ = 300,
    EFVDT_Pile_CHECK_JY = 301,
    EFVDT_Pile_CHECK_CZL = 302,
    EFVDT_Pile_CHECK_HOR = 303,
    EFVDT_Pile_CHECK_REACT = 305,
    EFVDT_Pile_CHECK_CZL_KB = 306,
    EFVDT_Pile_CHECK_CZL_KZ = 307,
    // Columns.
    EFVDT_Column_CHECK_JY = 450,
    // Rafts.
    EFVDT_MTSB_CHECK_CZL = 500,
    EFVDT_MTSB_CHECK_Center = 501,
    EFVDT_MTSB_CHECK_ColCQ = 502,
    EFVDT_MTSB_CHECK_ColJQ = 503,
    EFVDT_MTSB_CHECK_WallCQ = 504,
    EFVDT_MTSB_CHECK_WallJQ = 505,
    EFVDT_MTSB_CHECK_BotSlabCJ = 506,
    EFVDT_MTSB_CHECK_BotSlabJQ = 507,
    EFVDT_MTSB_FORCE_SLABBAND = 508,
    EFVDT_MTSB_DESIGN_SLABBAND = 509,
    EFVDT_MTSB_DESIGN_Force = 510,
    EFVDT_MTSB_DESIGN_React = 511,
    EFVDT_MTSB_DESIGN_Disp = 512,
    EFVDT_MTSB_DESIGN_AS = 513,
    EFVDT_MTSB_CHECK_KF = 514,
    EFVDT_MTSB_CHECK_WDX = 515,
    EFVDT_MTSB_CHECK_NT = 516,
    EFVDT_MTSB_CHECK_NTCQ = 517,
    EFVDT_MTSB_FORCE_RIBBEAM = 518,
    EFVDT_MTSB_RIBBEAM_N = 519,
    EFVDT_MTSB_RIBBEAM_AS = 520,
    EFVDT_MTSB_CHECK_BHD = 521,
    EFVDT_MTSB_FORCE_ELEMENT = 522,
    EFVDT_MTSB_DESIGN_ELEMENT = 523,
    EFVDT_MTSB_RACT_ELEMENT = 524,
    EFVDT_MTSB_DISP_ELEMENT = 525,
    EFVDT_MTSB_RIBBEAM_Crack = 526,
    EFVDT_MTSB_DESIGN_ELERP = 527,
    // Settlement.
    EFVDT_SINK_WHOLEVALVE = 600,
    EFVDT_SINK_ISOSINKDIF = 601,
    EFVDT_SINK_MATTILT = 602,
};

// Layers every figure sets up (CreateLayers) and the ids figures draw on.
enum EFVDLayer : int {
    FVD_LAYER_COLUMN = 10,
    FVD_LAYER_WALL = 11,
    FVD_LAYER_BEAM = 20,      // beams and slab-band outlines
    FVD_LAYER_MTSB = 21,      // rafts
    FVD_LAYER_COLF = 22,      // column footings
    FVD_LAYER_PILE = 23,
    FVD_LAYER_PILE_INFO = 24,
    FVD_LAYER_SUBELEM = 25,   // raft sub-elements and slab outlines
    FVD_LAYER_AXIS = 26,
    FVD_LAYER_SINKMESH = 27,  // settlement mesh
    FVD_LAYER_TEXT = 50,
    FVD_LAYER_FORCE = 101,    // force diagrams
};

// Text styles every figure sets up (CreateTextStyles).
enum EFVDTextStyle : int {
    FVD_STYLE_CONTENTS = 10,  // 0.25 m
    FVD_STYLE_DETAIL = 11,    // 0.1 m
    FVD_STYLE_TITLE = 20,     // 0.5 m, bold and underlined
    FVD_STYLE_LOADCASE = 21,  // 0.4 m
    FVD_STYLE_SCALE = 22,     // 0.4 m (load-case and description lines of the notes)
};

// Display settings of a figure (a plain record; the figure panel edits it).
struct sFVDDisplaySettings {
    double m_dDrawScale = 1.0;  // CVdrawUtil::SetDrawScale by ApplyScale
    double m_dScale2 = 1.0;     // factor of the force-diagram figures (CFVDUnitScale)
    int m_nRatio = -1;          // -1: no ratio/value choice; 0: value/limit; other: ratio
    double m_dPrecision = 0.0;  // decimals of the figure's numbers (truncated to int)
    BOOL m_bScale2Auto = TRUE;  // the diagram sheets choose m_dScale2 until one is set
};

// Value bands and their colours, part of the contour parameters. Colours are COLORREF.
class T_ContourDataBase {
public:
    T_ContourDataBase();
    virtual ~T_ContourDataBase() = default;

    // Stores scheme and reversed; fewer than two values: nothing else. With colours: values and
    // colours copied as they are. Without: the values copied, seven levels spread evenly from
    // the first value to the last, and the colours the scheme's seven (exactly seven values) or
    // each value's GetValueColor.
    virtual void SetData(const CArray<double>& values, const CArray<COLORREF>* colours, int scheme, int reversed);
    // The colour of v blended between the levels around it (see the source); always 1.
    int GetValueColor(double v, COLORREF& out, BOOL reversed) const;

    static const COLORREF kSchemes[4][7];

    CArray<double> m_Values;
    CArray<COLORREF> m_Colors;
    COLORREF m_ColorTable[4][7];
    double m_dLevel[7];
    int m_nScheme = 0;
    int m_nReversed = 0;
};

// The contour tool's parameter record. The host record was a wire format listed by 32-bit byte
// offsets; the fields are named here and the offsets kept in the comments. Their meaning belongs
// to the contour tool; the defaults are the figure's.
//     0 nContourOn       1          4 nManyPoints      0
//     8 levels: nAutoLevels 1, 16..95 dLevels[10] 0.0
//    96 nShowStrip       1        104 dStripStep       5.0
//   112 nStripCount      5        116 nGridCount       1000
//   120 nSubStrips       5
//   128 style: nLineOn 1, 132 crHigh 0xFF64FF, 136 crLow 0x64FFFF, 140 nShowText 1,
//        144 nShowLegend 1, 148 crLine 0x0080FF, 152 nFill 1, 156 nUnused (unset: 0),
//        160 dLineWidth 1.0, 168 nTextKind 2, 172 nSmooth 1, 176..188 nReserved[4] 0
//   192 data (T_ContourDataBase)
//   416 nRender 1       420 nReverse 0       424 nClip 1
struct sContourLevels {
    int nAutoLevels = 1;
    double dLevels[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
};
struct sContourStyle {
    int nLineOn = 1;
    COLORREF crHigh = 0xFF64FF;
    COLORREF crLow = 0x64FFFF;
    int nShowText = 1;
    int nShowLegend = 1;
    COLORREF crLine = 0x0080FF;
    int nFill = 1;
    int nUnused = 0;
    double dLineWidth = 1.0;
    int nTextKind = 2;
    int nSmooth = 1;
    int nReserved[4] = {0, 0, 0, 0};
};
struct sContourControlPar {
    int nContourOn = 1;
    int nManyPoints = 0;
    sContourLevels levels;
    int nShowStrip = 1;
    double dStripStep = 5.0;
    int nStripCount = 5;
    int nGridCount = 1000;
    int nSubStrips = 5;
    sContourStyle style;
    T_ContourDataBase data;
    int nRender = 1;
    int nReverse = 0;
    int nClip = 1;
};

class CFVDBase : public CObject {
    DECLARE_DYNAMIC(CFVDBase)
public:
    CFVDBase();
    ~CFVDBase() override;
    CFVDBase(const CFVDBase&) = delete;
    CFVDBase& operator=(const CFVDBase&) = delete;

    // ---- Operations figures override (base behaviour in brackets) ----
    // Draws the sheet; concrete figures end with DrawFigureNotes. [nothing]
    virtual void DrawFigure();
    // Resets the figure's settings to its defaults (through GetDisplaySettings). [nothing]
    virtual void SetDefaultOptions();
    // Rescales the recorded text styles after a unit change; see the source. Non-zero stops the
    // controller's walk (the drawing's styles are shared).
    virtual BOOL InitUnits();
    // The extra base maps a figure needs besides its own list, into out (emptied first); the
    // controller merges them (slab-band figures). [out emptied]
    virtual void ClearBaseMapList(std::list<EFigureType>& out);
    // Fills the figure's own base-map list. [emptied; for types 91 and above 32, 41, 42, 43, 44]
    virtual void InitBaseMapList();
    // The twelve base layers (EFVDLayer); nothing without a drawing.
    virtual void CreateLayers();
    // The five text styles (EFVDTextStyle), heights in the current length unit; nothing without
    // a drawing.
    virtual void CreateTextStyles();
    // The load cases the figure offers. [types above 90: the check load groups of kind 1 with the
    // most unfavourable entry; else nothing]
    virtual void CollectLoadCases(std::map<UINT, CString>& out);
    // Precision, draw scale, SelectLayer, text style 10.
    virtual void ApplyScale();
    // Makes the figure's drawing layer current. [layer 50]
    virtual BOOL SelectLayer();
    // The text of a load combination. [the host's combination text]
    virtual CString GetLoadCombText(UINT key);
    // The load-case line of the notes (empty for load case 0); returns the text ids.
    virtual CArray<long> DrawLoadCaseBlock(const T_POINT2D& at);
    // The title line of the notes; returns the text ids.
    virtual CArray<long> DrawTitleBlock(const T_POINT2D& at);
    // The description lines of the notes and their colours; 0 for none. [0]
    virtual BOOL GetDescription(CArray<COLORREF>& colours, CString& text);
    // Non-zero for a figure with contour parameters. [0]
    virtual BOOL UsesContour();
    // After DrawFigure: non-zero when what it drew shows none of its values (outlines alone),
    // so the sheet has nothing of its own. [0]
    virtual BOOL ShowedNoValue() const { return FALSE; }

    // ---- Shared operations ----
    // FALSE: InitBaseMapList, SetDefaultOptions. TRUE: CreateLayers, CreateTextStyles,
    // SetDefaultOptions.
    void Prepare(BOOL forDisplay);
    // Stores the drawing target, then Prepare(TRUE).
    void Display(CVdrawUtil* drawing);
    CVdrawUtil* GetDrawing() const { return m_pDrawing; }

    EFigureType GetType() const { return m_eType; }
    void SetType(EFigureType type) { m_eType = type; }

    // The attached settings, else the embedded defaults.
    sFVDDisplaySettings* GetDisplaySettings();
    // Attaches s (null: the embedded defaults again); returns 1. Defaults are written only into
    // the figure's own record: SetDefaultOptions runs when nothing was attached before and s is
    // null or the embedded record, never on a record borrowed from another figure.
    int SetSettings(sFVDDisplaySettings* s);
    // The record attached with SetSettings (null when none).
    sFVDDisplaySettings* GetAttachedSettings() const { return m_pSettings; }
    BOOL IsRatioMode();

    BOOL IsModified() const { return m_bModified; }
    // Also keeps the first non-zero value given while the first-modification flag is 0.
    void SetModify(BOOL modified);
    BOOL GetFirstModify() const { return m_bFirstModify; }

    // out = a copy of the base-map list; TRUE when it is not empty.
    BOOL GetBaseMapList(std::list<EFigureType>& out) const;
    // The figure's own base-map list (the controller and the figure panel edit it).
    std::list<EFigureType>& GetBaseMapListRef() { return m_BaseMapList; }

    UINT GetCurLoadCase() const { return m_nCurLoadCase; }
    // Rebuilds the load-case map (CollectLoadCases); the current key stays when it is in the map,
    // else becomes its smallest key (0 for an empty map).
    std::map<UINT, CString>* GetLoadCaseMap();
    // Makes key current; 0 when it already is or there is nothing to choose. A key not in a
    // non-empty map selects the smallest key. Types above 90 build an empty map first.
    BOOL SetLoadCase(UINT key);

    // Types up to 90 never draw notes.
    BOOL GetNotesFlag() const;
    BOOL SetNotesFlag(BOOL on);
    // Availability bits: 1 usable before analysis (pre-processing), 2 after (post-processing).
    UINT GetModeFlags() const { return m_nModeFlags; }
    int SetModeFlags(UINT flags) {
        m_nModeFlags = flags;
        return 1;
    }
    UINT GetOwnerMask() const { return m_nOwnerMask; }

    // The drawing's current layer / text style; FALSE without a drawing or for an unknown id.
    BOOL SetCurrentLayer(int id);
    BOOL SetCurrentTextStyle(int id);
    // Adds a layer to the drawing and records id -> caption.
    void AddLayer(int id, const CString& caption, COLORREF colour, double width, int pen);
    // Adds a text style named name to the drawing, binds id to it and records id -> name.
    void AddTextStyle(int id, const CString& name, const sEVETextStyle& style);
    // Re-adds the recorded layers (white, solid) and re-binds the recorded style ids, for a
    // figure drawing into a drawing another figure set up.
    void RecreateLayers();
    void RecreateTextStyles();
    const std::map<int, CString>& GetLayerRecord() const { return m_Layers; }
    const std::map<int, CString>& GetTextStyleRecord() const { return m_TextStyles; }

    // Title, load case, description and drawing scale centred under the drawing; see the source.
    void DrawFigureNotes();
    int m_nNotesDrawn = 0;  // entities the last notes block drew
    CArray<long> DrawDescriptionBlock(const T_POINT2D& at);
    // The drawing scale of the sheet, "比例 3:1" for a sheet drawn at three times the model's size.
    CArray<long> DrawScaleBlock(const T_POINT2D& at);
    // The point the notes start at (drawing boundary's bottom centre, model units); FALSE for an
    // empty drawing or no drawing.
    BOOL GetNotesAnchor(T_POINT2D& at) const;
    // The catalogue caption of this figure (parents first, ": " between); empty without one.
    CString GetFigureCaption() const;
    // The title of the notes: a caption of three or more ": "-parts keeps its first and last.
    static CString MakeTitleText(const CString& caption);

    // The document's databases (null without a document).
    static CDataBase* GetPostDataBase();
    static CDataBase* GetModelDataBase();

    // Contour parameters and points of the contour figures, and the title of the strip legend
    // (lines of what is contoured and its unit; none when empty).
    sContourControlPar m_ContourPar;
    std::vector<T_POINT3D> m_ContourPoints;
    CString m_strContourLegendTitle;

    // Contour drawing (CFVDContour.cpp). The tool regenerates only while the figure is
    // modified; the nephogram grid is this figure's own and is recomputed only while the
    // first-modification flag is set, which the nephogram clears.
    void PrepareContour();
    virtual int CollectContourOutlines(std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM>& list);
    int DrawContourOutlines();
    BOOL ClipToContourOutlines(const CArray<T_LINE2D>& lines, CArray<T_LINE2D>& result);
    BOOL IsInContourOutline(const T_POINT2D& pt, int flag);
    // The pieces of a nephogram cell inside the outlines (the cell itself where it lies wholly
    // inside one); open rings.
    std::vector<std::vector<T_POINT2D>> ClipCellToContourOutlines(const std::vector<T_POINT2D>& cell);
    void DrawContourStripLines();
    void DrawContourStripLegend();
    void DrawNephogram();
    // The contour tool's settings dialog over the figure's parameters; its result (1 changed,
    // 0 not) goes to SetModify. The second form applies "KEY=VALUE" words as the dialog's OK.
    int ContourDlgSet();
    int ContourDlgSet(const std::vector<std::string>& answers);
    CContourTool m_ContourTool;
    std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM> m_ContourOutlines;
    BOOL m_bLabelInside = 1;
    std::vector<double> m_NephX, m_NephY, m_NephZ, m_NephZs;  // 50 x 50 nodes, index i * 50 + j
    int m_nNephInserts = 0;  // InsertFunction calls of the last DrawNephogram

protected:
    int ContourDlgSetWith(const std::function<int(CContourTool&)>& dialog);
    EFigureType m_eType = EFVDT_NONE;
    std::list<EFigureType> m_BaseMapList;
    std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM> m_PointList;  // scratch geometry of subclasses
    sFVDDisplaySettings* m_pSettings = nullptr;
    BOOL m_bModified = 0;
    BOOL m_bFirstModify = 1;
    BOOL m_bNotes = 1;
    UINT m_nModeFlags = 3;
    UINT m_nOwnerMask = 4095;
    UINT m_nCurLoadCase = 0;
    std::map<UINT, CString> m_LoadCases;
    CVdrawUtil* m_pDrawing = nullptr;
    std::map<int, CString> m_Layers;
    std::map<int, CString> m_TextStyles;
    sFVDDisplaySettings m_DefaultSettings;
};
