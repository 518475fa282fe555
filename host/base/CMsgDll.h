// The host's string loader: message keys to display texts.
//
// Modules show no literal captions or messages; they ask CMsgDll::pfuncLoadStr(key, 0) for the
// text of a key such as "IDS_TBX_PVX_Legend_Title". A module brings its own table (its Simplified
// Chinese texts, UTF-8) and registers it when it loads, unregistering it when it unloads, so the
// host layer never reads module files. Tables registered later are searched first, so a module
// may override a key of another. A key that no registered table knows comes back unchanged (the
// key itself is the text): a missing entry shows up on screen as its key instead of a blank,
// and a missing key is never fatal. A null key gives an empty text. Thread-safe.
//
//   static const CMsgDll::StringEntry kTexts[] = {{"IDS_TBX_PVX_Legend_Title", "图例"}};
//   CMsgDll::RegisterStringTable(kTexts, 1);
//   CString s = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Legend_Title", 0);   // "图例"
#pragma once

#include <utility>

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CMsgDll {
public:
    typedef std::pair<const char*, const char*> StringEntry;  // key, UTF-8 text

    // The loader entry modules call, as a function: pfuncLoadStr(key) or pfuncLoadStr(key, 0).
    // The flag is accepted for the callers' sake and has no effect.
    struct CLoadStrFunc {
        CString operator()(LPCTSTR key, int nFlag = 0) const;
    };
    static const CLoadStrFunc pfuncLoadStr;

    // Registers a table of n entries. The entries (and the strings they point to) must stay valid
    // until UnregisterStringTable; they are not copied. Entries with a null key or text are
    // skipped; within one table the first entry of a key wins. Returns FALSE for a null table with
    // n > 0, for n < 0, or for a table already registered.
    static BOOL RegisterStringTable(const StringEntry* entries, int n);
    // Removes a table registered with the same pointer; FALSE when it is not registered.
    static BOOL UnregisterStringTable(const StringEntry* entries);

    // Looks the key up: TRUE and its text, or FALSE (text unchanged) when no table knows it.
    static BOOL LookupString(LPCTSTR key, CString& text);
    static int GetTableCount();
};
