// CObject and CRuntimeClass: run-time class information, creation by class name, archiving.
//
// A class derived from CObject declares DECLARE_DYNAMIC, DECLARE_DYNCREATE or DECLARE_SERIAL in
// its body and the matching IMPLEMENT_ macro in one source file. That gives it a CRuntimeClass
// (RUNTIME_CLASS(CMyView)) with its name, size, schema, base class and, for the creatable kinds,
// a factory. The IMPLEMENT_ macros also place a static registrar in the library that defines the
// class: loading the library adds the class to the process-wide registry and unloading it
// (dlclose) removes it again, so the host can create a module's classes by name:
//
//   CObject* pView = CRuntimeClass::CreateObject("CPVXView");   // nullptr when unknown
//   if (pView && pView->IsKindOf(RUNTIME_CLASS(CView))) ...
//
// When two loaded libraries register the same class name, the latest registration is found
// until it is unloaded.
#pragma once

#include "platform/afx/afxtypes.h"

class CArchive;
class CDumpContext;
class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;                 // bytes
    UINT m_wSchema;                    // archive schema; 0xFFFF = not serialisable
    CObject* (*m_pfnCreateObject)();   // null for classes that cannot be created by name
    CRuntimeClass* m_pBaseClass;       // null for CObject

    // A new object of this class, or nullptr when the class has no factory.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Registered class with this name, or nullptr.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    // A new object of the registered class with this name, or nullptr.
    static CObject* CreateObject(LPCSTR lpszClassName);

    // Writes/reads the class reference of an archived object (schema, name length, name).
    void Store(CArchive& ar) const;
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Adds a class to the registry for the lifetime of this object (see the IMPLEMENT_ macros).
class AFX_CLASSINIT {
public:
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    CRuntimeClass* m_pClass;
};

class CObject {
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    // Writes or reads the object's data; CObject itself has none.
    virtual void Serialize(CArchive& ar);
    // Diagnostics of the original class library; nothing to check or print here.
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& /*dc*/) const {}

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// pObject as class_name* when it is of that class or derived from it, else nullptr.
CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                 \
public:                                             \
    static CRuntimeClass class##class_name;         \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name)  \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                   \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), wSchema, \
                                                   pfnNew, RUNTIME_CLASS(base_class_name)};                   \
    static AFX_CLASSINIT afxClassInit_##class_name(RUNTIME_CLASS(class_name));                                       \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                    \
    CObject* class_name::CreateObject() { return new class_name; }          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject() { return new class_name; }                                 \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)          \
    CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                          \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                   \
        return ar;                                                                                  \
    }

#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// Schema flag of the original: the class reads several versions (GetObjectSchema tells which).
#define VERSIONABLE_SCHEMA (0x80000000)
