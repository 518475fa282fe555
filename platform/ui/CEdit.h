// CEdit: a text field. Text, selection (byte offsets), length limit, read-only state and the
// modified flag live with the window. Setting the text programmatically sends EN_CHANGE (single
// line) as the platform does; typing by CUiDriver sends EN_UPDATE/EN_CHANGE, and focus changes
// send EN_SETFOCUS/EN_KILLFOCUS.
#pragma once

#include "platform/ui/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void LimitText(int nChars = 0);   // 0: the platform's maximum
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    int GetLineCount() const;
    void Clear() { ReplaceSel(""); }
};

namespace ui {
// A user's typing that replaces the whole text. Refused (FALSE) for read-only or disabled
// edits and for non-digits in an ES_NUMBER edit; text beyond the limit is cut off (EN_MAXTEXT).
BOOL EditUserText(HWND hEdit, LPCTSTR lpszText);
}
