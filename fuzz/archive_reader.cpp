// Fuzz target: the archive reader (CArchive over a CMemFile) on arbitrary bytes.
//
// The first byte picks what the archive is read as: a run of objects of the classes below
// (nested, shared, with strings and numbers inside), a run of strings, or a mix of values,
// strings and objects chosen byte by byte. Every object made is deleted after the input, so a
// leak or a use after free shows, and the archive must end failed or consumed, never crash.
#include "platform/afx/afx.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Every object made while reading one input; the target deletes them all afterwards (objects
// may be referenced several times in an archive, so none owns another).
std::vector<CObject*>& Made() {
    static std::vector<CObject*> v;
    return v;
}

class CFuzzLeaf : public CObject {
    DECLARE_SERIAL(CFuzzLeaf)
public:
    CFuzzLeaf() { Made().push_back(this); }
    int m_n = 0;
    double m_d = 0;
    CString m_str;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_n << m_d << m_str;
        else
            ar >> m_n >> m_d >> m_str;
    }
};
IMPLEMENT_SERIAL(CFuzzLeaf, CObject, 1)

// A versionable class with a list of children of any class.
class CFuzzNode : public CObject {
    DECLARE_SERIAL(CFuzzNode)
public:
    CFuzzNode() { Made().push_back(this); }
    std::vector<CObject*> m_children;  // not owned
    CString m_name;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_name << static_cast<WORD>(m_children.size());
            for (CObject* p : m_children) ar << p;
            return;
        }
        UINT schema = ar.GetObjectSchema();
        ar >> m_name;
        WORD n = 0;
        ar >> n;
        for (WORD i = 0; i < n && !ar.IsFailed(); ++i) {
            CObject* p = nullptr;
            ar >> p;
            m_children.push_back(p);
        }
        if (schema >= 2 && !ar.IsFailed()) {
            CFuzzLeaf* leaf = nullptr;
            ar >> leaf;
        }
    }
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, VERSIONABLE_SCHEMA | 2)

// Creatable by name but not serialisable: an archive may never make one.
class CFuzzWindow : public CObject {
    DECLARE_DYNCREATE(CFuzzWindow)
public:
    CFuzzWindow() { Made().push_back(this); }
};
IMPLEMENT_DYNCREATE(CFuzzWindow, CObject)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int mode = data[0] % 3;
    CMemFile mem(data + 1, static_cast<UINT>(size - 1));
    {
        CArchive ar(&mem, CArchive::load, 128);
        for (int step = 0; step < 256 && !ar.IsFailed() && !ar.IsBufferEmpty(); ++step) {
            int what = mode;
            if (mode == 2) {
                BYTE b = 0;
                ar >> b;
                what = b % 6;
            }
            switch (what) {
            case 0: {
                CObject* p = ar.ReadObject(nullptr);
                if (p && p->IsKindOf(RUNTIME_CLASS(CFuzzWindow))) __builtin_trap();  // must have been refused
                break;
            }
            case 1: {
                CString s;
                ar >> s;
                break;
            }
            case 2: {
                double d;
                long long ll;
                ar >> d >> ll;
                break;
            }
            case 3: {
                CFuzzNode* p = nullptr;
                ar >> p;
                break;
            }
            case 4: {
                UINT schema = 0;
                ar.ReadClass(RUNTIME_CLASS(CObject), &schema);
                break;
            }
            default: {
                // The memory file's own limits: seeks from read offsets, then a write.
                long long off = 0;
                WORD from = 0;
                ar >> off >> from;
                // A write near the start grows the block a little; one beyond kMaxLength must be
                // refused without asking for the memory. (Writes in between would take gigabytes
                // by design.)
                CMemFile scratch;
                ULONGLONG pos = scratch.Seek(off, from % 3);
                if (pos < (1u << 16) || (pos > CMemFile::kMaxLength && pos != static_cast<ULONGLONG>(-1))) {
                    BYTE one = 1;
                    if (scratch.Write(&one, 1) != (pos < (1u << 16))) __builtin_trap();
                }
                break;
            }
            }
        }
        ar.Abort();
    }
    for (CObject* p : Made()) delete p;
    Made().clear();
    return 0;
}
