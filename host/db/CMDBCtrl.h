// The model database control of the document: the current post database and its kind.
#pragma once

#include "host/db/CDataBase.h"

class CMDBCtrl {
public:
    explicit CMDBCtrl(CDataBase* pPost = nullptr) : m_pPost(pPost) {}
    virtual ~CMDBCtrl() = default;

    CDataBase* GetDBPost() const { return m_pPost; }
    void SetDBPost(CDataBase* pPost) { m_pPost = pPost; }
    // The design model database (slab rebar directions, table SDIR): the project file keeps its
    // tables beside the post model's, so it is the post database.
    CDataBase* GetTempMainDB() const { return m_pPost; }
    // The post model is three-dimensional (not a plan model).
    BOOL IsDBPost3D() const { return m_pPost && m_pPost->Is3D(); }
    // The current post database is a floor database.
    BOOL IsCurrentDBPostFloor() const { return m_pPost && m_pPost->IsFloor(); }

private:
    CDataBase* m_pPost;  // owned by the document
};
