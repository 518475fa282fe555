// CDlgUtil: small helpers of the host's dialogs.
#pragma once

#include "platform/ui/CComboBox.h"

class CDlgUtil {
public:
    // Appends an item with its data to a combo box; returns its index, or a negative value when
    // it could not be added.
    static int CobxAddItem(CComboBox& combo, LPCTSTR lpszText, DWORD_PTR dwData);
    // Index of the first item carrying dwData; -1 when none.
    static int CobxFindItemData(const CComboBox& combo, DWORD_PTR dwData);
};
