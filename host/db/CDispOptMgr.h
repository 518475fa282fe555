// Display options of the host: named colours, fonts and drawing values.
//
// Every option has a name. Callers never spell names: they construct one of the name objects
// (`COptColorObjNames`, 218 colour names; `COptFontObjNames`, 84 font names;
// `COptDrawObjNames`, 12 draw-option names) and pass the name at a position:
//     COptColorObjNames names;
//     if (CDispOptColorObj* c = mgr->GetColor(names[0])) background = c->m_Value;
// Each colour has a screen variant (`GetColor`) and a print variant (`GetPrtColor`). A font's
// value record lists the face name and seven 32-bit values (see SDispOptFontVal); a draw
// option is a row of eight 32-bit values. A getter returns null for a name it does not know.
#pragma once

#include "platform/afx/afx.h"

#include <map>
#include <string>

class COptColorObjNames {
public:
    enum { COUNT = 218 };
    COptColorObjNames();
    const CString& operator[](int k) const { return m_aName[k >= 0 && k < COUNT ? k : 0]; }
    CString m_aName[COUNT];
};

class COptFontObjNames {
public:
    enum { COUNT = 84 };
    COptFontObjNames();
    const CString& operator[](int k) const { return m_aName[k >= 0 && k < COUNT ? k : 0]; }
    CString m_aName[COUNT];
};

class COptDrawObjNames {
public:
    enum { COUNT = 12 };
    COptDrawObjNames();
    const CString& operator[](int k) const { return m_aName[k >= 0 && k < COUNT ? k : 0]; }
    CString m_aName[COUNT];
};

class CDispOptColorObj {
public:
    COLORREF m_Value = 0;
};

// A font option: the face name, then values 0 height in points, 1 weight, 2 italic,
// 3 character set, 4 text colour, 5 background colour, 6 transparent-background switch.
struct SDispOptFontVal {
    CString m_strFaceName;  // UTF-8
    int m_nHeight = 9;      // points
    int m_nWeight = FW_NORMAL;
    int m_bItalic = 0;
    int m_nCharSet = DEFAULT_CHARSET;
    COLORREF m_crText = 0;
    COLORREF m_crBack = RGB(255, 255, 255);
    int m_bTransparent = 1;
};

class CDispOptFontObj {
public:
    SDispOptFontVal m_Value;
    // The font as a LOGFONT: height in points, width 0, no escapement; the face name is cut to
    // the record's 31 bytes at a character boundary.
    static void GetLogFont(const SDispOptFontVal& val, LOGFONT& lf);
};

class CDispOptDrawObj {
public:
    enum { COUNT = 8 };
    int m_Value[COUNT] = {};
};

class CDispOptMgr {
public:
    CDispOptMgr();  // every option at its default
    virtual ~CDispOptMgr() = default;

    CDispOptColorObj* GetColor(CString name);
    CDispOptColorObj* GetPrtColor(CString name);
    CDispOptFontObj* GetFont(CString name);
    CDispOptDrawObj* GetDraw(CString name);

    // Changing options (host program, tests). Unknown names are refused with 0.
    int SetColor(const CString& name, COLORREF screen, COLORREF print);
    int SetFont(const CString& name, const SDispOptFontVal& val);
    int SetDraw(const CString& name, int index, int value);
    // Removes an option, so that its getter answers null.
    void Remove(const CString& name);

private:
    std::map<std::string, CDispOptColorObj> m_colors;
    std::map<std::string, CDispOptColorObj> m_prtColors;
    std::map<std::string, CDispOptFontObj> m_fonts;
    std::map<std::string, CDispOptDrawObj> m_draws;
};
