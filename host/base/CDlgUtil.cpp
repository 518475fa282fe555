#include "host/base/CDlgUtil.h"

int CDlgUtil::CobxAddItem(CComboBox& combo, LPCTSTR lpszText, DWORD_PTR dwData) {
    const int i = combo.AddString(lpszText ? lpszText : "");
    if (i >= 0) combo.SetItemData(i, dwData);
    return i;
}

int CDlgUtil::CobxFindItemData(const CComboBox& combo, DWORD_PTR dwData) {
    const int n = combo.GetCount();
    for (int i = 0; i < n; ++i)
        if (combo.GetItemData(i) == dwData) return i;
    return -1;
}
