// The host's number lists: the text a person types to name keys, and the short text of a key list.
//
// A list is made of whole positive numbers and ranges "a-b" (a <= b, both ends included),
// separated by commas, spaces or both: "1-3,5 8". Optimize writes keys back in that form,
// ascending, runs of consecutive keys as ranges:
//
//     CArray<UINT, UINT> all, chosen;            // all: 1 2 3 4 5 8
//     CNumericOptimizer::SelectNumByStr("1-3,8", all, chosen);   // chosen: 1 2 3 8
//     CNumericOptimizer::Optimize(chosen);        // "1-3,8"
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class CNumericOptimizer {
public:
    // The keys of `from` that the text names, in the order of `from`; FALSE (out emptied) when
    // the text is not a list (a word, a zero, a reversed range, a number beyond 32 bits). An
    // empty text names nothing.
    static BOOL SelectNumByStr(LPCTSTR lpszText, const CArray<UINT, UINT>& from, CArray<UINT, UINT>& out);
    // The keys as a list text: ascending, each once, runs of two or more as "a-b", joined by ",".
    static CString Optimize(const CArray<UINT, UINT>& keys);
};
