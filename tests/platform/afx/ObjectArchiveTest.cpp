// Run-time classes (registry by name, creation, IsKindOf, unloading) and archives (byte layout,
// round trips through real files, truncated and corrupt input).
#include "platform/afx/afx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
public:
    int m_nId = 0;
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_SERIAL(CCircle)
public:
    double m_dRadius = 0;
    CString m_strName;
    CCircle* m_pPeer = nullptr;  // not owned
    UINT m_nSchemaSeen = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_nId << m_dRadius << m_strName << m_pPeer;
        } else {
            m_nSchemaSeen = ar.GetObjectSchema();
            ar >> m_nId >> m_dRadius >> m_strName >> m_pPeer;
        }
    }
};
IMPLEMENT_SERIAL(CCircle, CShape, 2)

class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
};
IMPLEMENT_DYNCREATE(CSquare, CShape)

// An object holding another of its kind, read by a nested ReadObject.
class CNest : public CObject {
    DECLARE_SERIAL(CNest)
public:
    CNest* m_pChild = nullptr;  // owned
    ~CNest() override {
        // Iteratively, so that a long chain does not recurse here either.
        CNest* p = m_pChild;
        while (p) {
            CNest* next = p->m_pChild;
            p->m_pChild = nullptr;
            delete p;
            p = next;
        }
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_pChild;
        } else {
            ar >> m_pChild;
        }
    }
};
IMPLEMENT_SERIAL(CNest, CObject, 1)

std::string TempPath(const char* name) {
    std::filesystem::create_directories(PVX_TEST_TMPDIR);
    return std::string(PVX_TEST_TMPDIR) + "/" + name;
}

std::vector<BYTE> StoreToBytes(void (*fill)(CArchive&)) {
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        fill(ar);
        ar.Close();
    }
    UINT n = static_cast<UINT>(mem.GetLength());
    BYTE* p = mem.Detach();
    std::vector<BYTE> bytes(p, p + n);
    std::free(p);
    return bytes;
}

TEST(RuntimeClass, LookupCreationAndKinds) {
    EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_STREQ(RUNTIME_CLASS(CCircle)->m_lpszClassName, "CCircle");
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_wSchema, 2u);
    EXPECT_EQ(RUNTIME_CLASS(CShape)->m_wSchema, 0xFFFFu);
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_pBaseClass, RUNTIME_CLASS(CShape));

    CObject* pOb = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(pOb, nullptr);
    struct Row {
        CRuntimeClass* pClass;
        BOOL expected;
    } rows[] = {{RUNTIME_CLASS(CCircle), TRUE}, {RUNTIME_CLASS(CShape), TRUE}, {RUNTIME_CLASS(CObject), TRUE}, {RUNTIME_CLASS(CSquare), FALSE}};
    for (const Row& r : rows) EXPECT_EQ(pOb->IsKindOf(r.pClass), r.expected) << r.pClass->m_lpszClassName;
    EXPECT_EQ(pOb->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
    EXPECT_TRUE(pOb->IsSerializable());
    EXPECT_NE(DYNAMIC_DOWNCAST(CShape, pOb), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CSquare, pOb), nullptr);
    delete pOb;

    CObject* pSquare = RUNTIME_CLASS(CSquare)->CreateObject();
    ASSERT_NE(pSquare, nullptr);
    EXPECT_FALSE(pSquare->IsSerializable());
    delete pSquare;
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr) << "dynamic only: no factory";
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
}

TEST(RuntimeClass, RegistrarLifetimeAddsAndRemovesClasses) {
    CRuntimeClass ghost = {"CGhostView", 8, 1, nullptr, RUNTIME_CLASS(CObject)};
    CRuntimeClass shadow = {"CCircle", 8, 2, nullptr, RUNTIME_CLASS(CObject)};
    {
        AFX_CLASSINIT regGhost(&ghost);
        EXPECT_EQ(CRuntimeClass::FromName("CGhostView"), &ghost);
        {
            AFX_CLASSINIT regShadow(&shadow);
            EXPECT_EQ(CRuntimeClass::FromName("CCircle"), &shadow) << "latest registration wins";
        }
        EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle)) << "earlier one visible again";
    }
    EXPECT_EQ(CRuntimeClass::FromName("CGhostView"), nullptr);
}

// A library built and loaded at run time registers its class; dlclose removes it.
TEST(RuntimeClass, UnloadingALibraryRemovesItsClasses) {
    std::string src = TempPath("afx_plugin.cpp"), lib = TempPath("libafx_plugin.so");
    {
        std::ofstream f(src);
        f << "#include \"platform/afx/afx.h\"\n"
             "class CPlugInView : public CObject { DECLARE_DYNCREATE(CPlugInView) public: int m_nMagic = 4242; };\n"
             "IMPLEMENT_DYNCREATE(CPlugInView, CObject)\n"
             "extern \"C\" int PlugInMagic(CObject* p) { return static_cast<CPlugInView*>(p)->m_nMagic; }\n";
    }
    std::string cmd = "c++ -std=c++20 -shared -fPIC -w -I" + std::string(PVX_SOURCE_DIR) + " " + src + " -o " + lib + " 2>&1";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "no compiler to build the test library";

    ASSERT_EQ(CRuntimeClass::FromName("CPlugInView"), nullptr);
    void* h = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr) << dlerror();
    CRuntimeClass* pClass = CRuntimeClass::FromName("CPlugInView");
    ASSERT_NE(pClass, nullptr);
    CObject* pView = CRuntimeClass::CreateObject("CPlugInView");
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(pView->IsKindOf(pClass));
    auto magic = reinterpret_cast<int (*)(CObject*)>(dlsym(h, "PlugInMagic"));
    ASSERT_NE(magic, nullptr);
    EXPECT_EQ(magic(pView), 4242);
    delete pView;
    dlclose(h);
    EXPECT_EQ(CRuntimeClass::FromName("CPlugInView"), nullptr);
}

TEST(ArchiveLayout, ValuesAreLittleEndianWithClassLibrarySizes) {
    std::vector<BYTE> bytes = StoreToBytes([](CArchive& ar) {
        ar << 1 << static_cast<WORD>(2) << static_cast<short>(-2) << static_cast<BYTE>(7) << true << CString("ab") << 1.0
           << 1.0f << static_cast<LONGLONG>(1LL << 33) << -1L << static_cast<DWORD>(0x01020304);
    });
    const std::vector<BYTE> expected = {
        0x01, 0x00, 0x00, 0x00,                          // int
        0x02, 0x00,                                      // WORD
        0xFE, 0xFF,                                      // short
        0x07,                                            // BYTE
        0x01,                                            // bool
        0x02, 'a', 'b',                                  // CString: length byte and bytes
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // double 1.0
        0x00, 0x00, 0x80, 0x3F,                          // float 1.0
        0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,  // LONGLONG
        0xFF, 0xFF, 0xFF, 0xFF,                          // long in 32 bits
        0x04, 0x03, 0x02, 0x01,                          // DWORD
    };
    EXPECT_EQ(bytes, expected);
}

TEST(ArchiveLayout, StringLengthPrefixes) {
    struct Row {
        int nLength;
        std::vector<BYTE> prefix;
    } rows[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nLength);
        CString s('x', r.nLength);
        CMemFile mem;
        CArchive ar(&mem, CArchive::store);
        ar << s;
        ar.Close();
        ASSERT_EQ(mem.GetLength(), r.prefix.size() + r.nLength);
        mem.SeekToBegin();
        std::vector<BYTE> head(r.prefix.size());
        mem.Read(head.data(), static_cast<UINT>(head.size()));
        EXPECT_EQ(head, r.prefix);
        mem.SeekToBegin();
        CArchive in(&mem, CArchive::load);
        CString back;
        in >> back;
        EXPECT_FALSE(in.IsFailed()) << in.GetErrorMessage().GetString();
        EXPECT_EQ(back, s);
        EXPECT_TRUE(in.IsBufferEmpty());
    }
}

// Wide strings (the FF FE FF marker, then a length in UTF-16 units) are read as UTF-8: every
// encoded length from one to four bytes, and an unpaired surrogate as U+FFFD.
TEST(ArchiveLayout, WideStringsAreReadAsUtf8) {
    struct Row {
        const char* label;
        std::vector<uint16_t> units;
        std::string utf8;
    } rows[] = {
        {"ASCII", {'A', 0x7F}, "A\x7F"},
        {"two bytes", {0x80, 0x7FF}, "\xC2\x80\xDF\xBF"},
        {"three bytes", {0x53CD, 0x529B, 0xFFFD}, "反力\xEF\xBF\xBD"},
        {"surrogate pair", {0xD83D, 0xDE00, 0xDBFF, 0xDFFF}, "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"},
        {"unpaired surrogates", {0xDC00, 'x', 0xD800}, "\xEF\xBF\xBDx\xEF\xBF\xBD"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<BYTE> bytes = {0xFF, 0xFE, 0xFF, static_cast<BYTE>(r.units.size())};
        for (uint16_t u : r.units) {
            bytes.push_back(static_cast<BYTE>(u & 0xFF));
            bytes.push_back(static_cast<BYTE>(u >> 8));
        }
        CMemFile mem;
        mem.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        mem.SeekToBegin();
        CArchive in(&mem, CArchive::load);
        CString back;
        in >> back;
        EXPECT_FALSE(in.IsFailed()) << in.GetErrorMessage().GetString();
        EXPECT_EQ(std::string(back.GetString()), r.utf8);
    }
}

TEST(ArchiveRoundTrip, ChineseTextNumbersAndObjectGraphThroughARealFile) {
    std::string path = TempPath("afx_roundtrip.bin");
    CString strLong('z', 300);
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite)) << f.GetErrorMessage().GetString();
        CArchive ar(&f, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        CCircle a, b;
        a.m_nId = 1;
        a.m_dRadius = 2.5;
        a.m_strName = "反力 结果";
        b.m_nId = 2;
        b.m_strName = "荷载工况/荷载组合";
        a.m_pPeer = &b;
        b.m_pPeer = &a;  // a cycle
        ar << 7 << -3.25 << CString("反力 结果") << strLong << &a << static_cast<CObject*>(nullptr) << &a;
        ar << static_cast<UINT>(0xFFFFFFFF) << static_cast<short>(-7) << 1e-300 << 'q';
        ar.Close();
        EXPECT_FALSE(ar.IsFailed()) << ar.GetErrorMessage().GetString();
    }
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    CArchive ar(&f, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    int n = 0;
    double d = 0;
    CString s, sl;
    CObject *p1 = nullptr, *pNull = reinterpret_cast<CObject*>(1), *p3 = nullptr;
    ar >> n >> d >> s >> sl >> p1 >> pNull >> p3;
    UINT u = 0;
    short sh = 0;
    double tiny = 0;
    char ch = 0;
    ar >> u >> sh >> tiny >> ch;
    EXPECT_FALSE(ar.IsFailed()) << ar.GetErrorMessage().GetString();
    EXPECT_TRUE(ar.IsBufferEmpty());
    EXPECT_EQ(n, 7);
    EXPECT_EQ(d, -3.25);
    EXPECT_STREQ(s, "反力 结果");
    EXPECT_EQ(sl, strLong);
    EXPECT_EQ(u, 0xFFFFFFFFu);
    EXPECT_EQ(sh, -7);
    EXPECT_EQ(tiny, 1e-300);
    EXPECT_EQ(ch, 'q');
    EXPECT_EQ(pNull, nullptr);
    EXPECT_EQ(p3, p1) << "an object stored twice loads as one";
    CCircle* pa = DYNAMIC_DOWNCAST(CCircle, p1);
    ASSERT_NE(pa, nullptr);
    ASSERT_NE(pa->m_pPeer, nullptr);
    EXPECT_EQ(pa->m_pPeer->m_pPeer, pa) << "the cycle is rebuilt";
    EXPECT_STREQ(pa->m_strName, "反力 结果");
    EXPECT_STREQ(pa->m_pPeer->m_strName, "荷载工况/荷载组合");
    EXPECT_EQ(pa->m_dRadius, 2.5);
    EXPECT_EQ(pa->m_nSchemaSeen, 2u);
    EXPECT_EQ(pa->m_pPeer->m_nId, 2);
    delete pa->m_pPeer;
    delete pa;
}

TEST(ArchiveErrors, TruncatedFileSetsAStickyError) {
    std::string path = TempPath("afx_truncated.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << 11 << CString("反力 结果") << 2.0;
    }
    // Keep the int and 5 of the string's 14 bytes.
    std::filesystem::resize_file(path, 9);
    CFile f(path.c_str(), CFile::modeRead);
    ASSERT_TRUE(f.IsOpen());
    CArchive ar(&f, CArchive::load);
    int n = 0;
    CString s("old");
    double d = -1;
    ar >> n;
    EXPECT_FALSE(ar.IsFailed());
    EXPECT_EQ(n, 11);
    ar >> s >> d;
    EXPECT_TRUE(ar.IsFailed());
    EXPECT_NE(ar.GetErrorMessage().Find("truncated"), -1) << ar.GetErrorMessage().GetString();
    EXPECT_NE(ar.GetErrorMessage().Find("afx_truncated.bin"), -1) << "names the file";
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(d, 0.0) << "reads after the failure yield zeros";

    CFile f2(path.c_str(), CFile::modeRead);
    CArchive ar2(&f2, CArchive::load);
    BYTE buf[16];
    EXPECT_EQ(ar2.Read(buf, sizeof buf), 9u);
    EXPECT_TRUE(ar2.IsFailed()) << "a short raw read fails too";
}

// Counts the bytes an archive asks of its file; can pretend to be much longer than it is.
class CountingFile : public CMemFile {
public:
    CountingFile(const std::vector<BYTE>& data, ULONGLONG nClaimedLength = 0)
        : CMemFile(data.data(), static_cast<UINT>(data.size())), m_nClaimed(nClaimedLength) {}
    UINT Read(void* lpBuf, UINT nCount) override {
        m_nRequested += nCount;
        return CMemFile::Read(lpBuf, nCount);
    }
    ULONGLONG GetLength() const override { return m_nClaimed ? m_nClaimed : CMemFile::GetLength(); }
    ULONGLONG m_nRequested = 0;
    ULONGLONG m_nClaimed;
};

TEST(ArchiveErrors, BogusStringLengthsNeverAllocateHugeBuffers) {
    struct Row {
        const char* label;
        std::vector<BYTE> bytes;
        ULONGLONG nClaimedLength;
    } rows[] = {
        {"DWORD length of 2 GB", {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'}, 0},
        {"64-bit length", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, 0},
        {"file that lies about its length", {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'}, 1ULL << 40},
        {"WORD length past the end", {0xFF, 0x00, 0x10, 'a'}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CountingFile file(r.bytes, r.nClaimedLength);
        CArchive ar(&file, CArchive::load);
        CString s("old");
        ar >> s;
        EXPECT_TRUE(ar.IsFailed());
        EXPECT_FALSE(ar.GetErrorMessage().IsEmpty());
        EXPECT_TRUE(s.IsEmpty());
        EXPECT_LT(file.m_nRequested, 1u << 20) << "bytes requested from the file";
    }
}

TEST(ArchiveErrors, WideStringsFromUtf16ArchivesAreConverted) {
    // 0xFF 0xFFFE marks UTF-16 text; then length 2: 'A', U+53CD.
    const std::vector<BYTE> bytes = {0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0xCD, 0x53};
    CMemFile mem(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&mem, CArchive::load);
    CString s;
    ar >> s;
    EXPECT_FALSE(ar.IsFailed()) << ar.GetErrorMessage().GetString();
    EXPECT_STREQ(s, "A反");
}

TEST(ArchiveErrors, BadObjectDataGivesNullAndAMessage) {
    struct Row {
        const char* label;
        std::vector<BYTE> bytes;
        const CRuntimeClass* pRequested;
        const char* messagePart;
    } rows[] = {
        {"unknown class", {0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'G', 'h', 'o', 's', 't'}, nullptr, "CGhost"},
        {"class name too long", {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x01}, nullptr, "corrupt"},
        {"undefined object reference", {0x05, 0x00}, nullptr, "object number 5"},
        {"undefined class reference", {0x03, 0x80}, nullptr, "class number 3"},
        {"big tag cut short", {0xFF, 0x7F, 0x01}, nullptr, "truncated"},
        {"wrong schema", {0xFF, 0xFF, 0x03, 0x00, 0x07, 0x00, 'C', 'C', 'i', 'r', 'c', 'l', 'e'}, nullptr, "version 3"},
        {"wrong class", {0xFF, 0xFF, 0x02, 0x00, 0x07, 0x00, 'C', 'C', 'i', 'r', 'c', 'l', 'e'}, RUNTIME_CLASS(CSquare), "CSquare"},
        // CSquare can be created by name but has no schema: an archive may not claim one for it.
        {"class that is not serialisable", {0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 'C', 'S', 'q', 'u', 'a', 'r', 'e'}, nullptr,
         "not serialisable"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CMemFile mem(r.bytes.data(), static_cast<UINT>(r.bytes.size()));
        CArchive ar(&mem, CArchive::load);
        CObject* pOb = ar.ReadObject(r.pRequested);
        EXPECT_EQ(pOb, nullptr);
        EXPECT_TRUE(ar.IsFailed());
        EXPECT_NE(ar.GetErrorMessage().Find(r.messagePart), -1) << ar.GetErrorMessage().GetString();
        delete pOb;
    }
}

TEST(ArchiveErrors, MisuseAndFileFailuresAreReported) {
    CFile f;
    std::string missing = TempPath("no/such/dir/file.bin");
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead));
    EXPECT_NE(f.GetErrorMessage().Find("No such file or directory"), -1) << f.GetErrorMessage().GetString();
    EXPECT_NE(f.GetErrorMessage().Find("file.bin"), -1);
    EXPECT_FALSE(f.Open(PVX_TEST_TMPDIR, CFile::modeRead)) << "a directory is not a file";
    EXPECT_FALSE(f.Open("", CFile::modeRead));

    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        int n;
        ar >> n;
        EXPECT_TRUE(ar.IsFailed()) << "reading a storing archive";
        ar << 5;
        EXPECT_NE(ar.GetErrorMessage().Find("storing"), -1) << "the first message is kept";
    }
    EXPECT_EQ(mem.GetLength(), 0u) << "writes after a failure are dropped";

    {
        CArchive ar(&mem, CArchive::store);
        CSquare sq;
        ar << &sq;
        EXPECT_TRUE(ar.IsFailed());
        EXPECT_NE(ar.GetErrorMessage().Find("CSquare"), -1) << "not serialisable";
    }
    {
        CArchive ar(&mem, CArchive::store);
        ar << (1L << 40);
        EXPECT_TRUE(ar.IsFailed()) << "a long beyond 32 bits cannot be archived";
    }
    CArchive none(nullptr, CArchive::load);
    EXPECT_TRUE(none.IsFailed());
}

TEST(ArchiveFile, LoadingCloseGivesBackReadAheadAndMemFileSeeks) {
    std::string path = TempPath("afx_position.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << 1 << 2 << 3;
    }
    CFile f(path.c_str(), CFile::modeRead);
    EXPECT_EQ(f.GetLength(), 12u);
    EXPECT_STREQ(f.GetFileName(), "afx_position.bin");
    {
        CArchive ar(&f, CArchive::load);
        int n;
        ar >> n;
        ar.Close();
    }
    EXPECT_EQ(f.GetPosition(), 4u) << "the file continues after what the archive consumed";
    int next = 0;
    EXPECT_EQ(f.Read(&next, 4), 4u);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(f.Seek(-4, CFile::end), 8u);
    f.Close();
    EXPECT_FALSE(f.IsOpen());

    CMemFile mem;
    const BYTE data[] = {1, 2, 3};
    mem.Write(data, 3);
    EXPECT_EQ(mem.Seek(5, CFile::begin), 5u);
    mem.Write(data, 1);
    EXPECT_EQ(mem.GetLength(), 6u) << "writing past the end fills the gap";
    EXPECT_EQ(mem.Seek(-10, CFile::current), static_cast<ULONGLONG>(-1));
    mem.SeekToBegin();
    BYTE back[6];
    EXPECT_EQ(mem.Read(back, 6), 6u);
    EXPECT_EQ(back[4], 0);
    EXPECT_EQ(back[5], 1);
}

// n objects each holding the next, as written: the class once (new-class tag, schema 1, name),
// then a class reference (0x8001) per further object, then the null tag ending the chain.
std::vector<BYTE> NestedObjects(int n) {
    std::vector<BYTE> b = {0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00, 'C', 'N', 'e', 's', 't'};
    for (int i = 1; i < n; ++i) {
        b.push_back(0x01);
        b.push_back(0x80);
    }
    b.push_back(0x00);
    b.push_back(0x00);
    return b;
}

TEST(ArchiveErrors, NestingDepthIsLimitedAndReportedAsCorrupt) {
    struct Row {
        const char* label;
        int nObjects;
        bool ok;
    } rows[] = {
        {"two", 2, true},
        {"exactly the limit", CArchive::kMaxObjectDepth, true},
        {"one more than the limit", CArchive::kMaxObjectDepth + 1, false},
        {"50,000 (750 KB of tags would overflow the stack)", 50000, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<BYTE> bytes = NestedObjects(r.nObjects);
        CMemFile mem(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&mem, CArchive::load);
        CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CNest));
        ASSERT_NE(pOb, nullptr) << "the outer object is handed over even on failure";
        EXPECT_EQ(ar.IsFailed() != FALSE, !r.ok) << ar.GetErrorMessage().GetString();
        int depth = 0;
        for (CNest* p = static_cast<CNest*>(pOb); p; p = p->m_pChild) ++depth;
        if (r.ok) {
            EXPECT_EQ(depth, r.nObjects);
        } else {
            EXPECT_NE(ar.GetErrorMessage().Find("more than 1000 deep"), -1) << ar.GetErrorMessage().GetString();
            EXPECT_NE(ar.GetErrorMessage().Find("corrupt"), -1);
            EXPECT_EQ(depth, CArchive::kMaxObjectDepth) << "the objects read before the limit stay";
        }
        delete pOb;
    }
    // A chain of the maximal depth written by us reads back.
    CNest* pRoot = new CNest;
    CNest* p = pRoot;
    for (int i = 1; i < CArchive::kMaxObjectDepth; ++i) p = p->m_pChild = new CNest;
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        ar << pRoot;
        EXPECT_FALSE(ar.IsFailed());
    }
    delete pRoot;
    mem.SeekToBegin();
    CArchive ar(&mem, CArchive::load);
    CObject* pBack = ar.ReadObject(RUNTIME_CLASS(CNest));
    EXPECT_FALSE(ar.IsFailed()) << ar.GetErrorMessage().GetString();
    delete pBack;
}

// Offsets near the ends of the 64-bit range: no signed overflow, no attempt to allocate the gap.
TEST(ArchiveFile, MemFileSeeksAndWritesNearTheLimitsFail) {
    const LONGLONG kMax = INT64_MAX;
    struct Row {
        const char* label;
        LONGLONG start;      // position seeked to from the beginning first
        LONGLONG off;
        UINT from;
        ULONGLONG expected;  // new position, or (ULONGLONG)-1
    } rows[] = {
        {"largest offset from the start", 0, kMax, CFile::begin, static_cast<ULONGLONG>(kMax)},
        {"largest offset from position 3 overflows", 3, kMax, CFile::current, static_cast<ULONGLONG>(-1)},
        {"largest offset from the end (length 4) overflows", 0, kMax, CFile::end, static_cast<ULONGLONG>(-1)},
        {"back past the start", 2, -3, CFile::current, static_cast<ULONGLONG>(-1)},
        {"smallest offset from the end", 0, INT64_MIN, CFile::end, static_cast<ULONGLONG>(-1)},
        {"back to the start from the largest position", kMax, -kMax, CFile::current, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CMemFile mem;
        const BYTE data[4] = {1, 2, 3, 4};
        mem.Write(data, 4);
        ASSERT_EQ(mem.Seek(r.start, CFile::begin), static_cast<ULONGLONG>(r.start));
        EXPECT_EQ(mem.Seek(r.off, r.from), r.expected);
        if (r.expected == static_cast<ULONGLONG>(-1)) {
            EXPECT_EQ(mem.GetPosition(), static_cast<ULONGLONG>(r.start)) << "a failed seek keeps the position";
            EXPECT_FALSE(mem.GetErrorMessage().IsEmpty());
        }
    }

    // A write far past the end would have to fill the gap: it fails and changes nothing.
    CMemFile mem;
    const BYTE one = 7;
    mem.Write(&one, 1);
    for (LONGLONG pos : {kMax - 1, kMax, static_cast<LONGLONG>(CMemFile::kMaxLength)}) {
        SCOPED_TRACE(pos);
        ASSERT_EQ(mem.Seek(pos, CFile::begin), static_cast<ULONGLONG>(pos));
        EXPECT_FALSE(mem.Write(&one, 1));
        EXPECT_NE(mem.GetErrorMessage().Find("at most"), -1) << mem.GetErrorMessage().GetString();
        EXPECT_EQ(mem.GetLength(), 1u);
    }
    EXPECT_FALSE(mem.SetLength(1ULL << 62));
    EXPECT_EQ(mem.GetLength(), 1u);
    ASSERT_TRUE(mem.SetLength(3));
    EXPECT_EQ(mem.GetLength(), 3u);

    // Through an archive the failed write becomes the archive's failure.
    mem.Seek(kMax - 2, CFile::begin);
    {
        CArchive ar(&mem, CArchive::store);
        ar << 1.5;
        ar.Flush();
        EXPECT_TRUE(ar.IsFailed());
        EXPECT_NE(ar.GetErrorMessage().Find("memory file"), -1) << ar.GetErrorMessage().GetString();
    }
    EXPECT_EQ(mem.GetLength(), 3u);
}

}  // namespace
