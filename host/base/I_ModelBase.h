// The host's model of a model view, as modules see it.
//
// The host keeps one current model (the model of the active model view); modules reach it with
// I_ModelBase::GetCurMySelfST() (null when there is none) to find its view, to warn it before a
// retained-geometry rebuild, and to draw temporary rubber-band polylines and slab strips on it.
// The drawing requests of this base only go into the host's request journal (CHostRequestLog,
// kind HR_MODEL_REQUEST, text naming the request); a host model that draws overrides them.
#pragma once

#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CView;

class I_ModelBase {
public:
    I_ModelBase();
    // A model that is current stops being current when it is destroyed.
    virtual ~I_ModelBase();
    I_ModelBase(const I_ModelBase&) = delete;
    I_ModelBase& operator=(const I_ModelBase&) = delete;

    static I_ModelBase* GetCurMySelfST();
    static void SetCurMySelfST(I_ModelBase* pModel);

    virtual CView* GetView() const { return m_pView; }
    void SetView(CView* pView) { m_pView = pView; }

    // Called before the graphics control rebuilds its retained geometry.
    virtual void PrepareGeomRebuild();

    // Temporary polyline (rubber band) through world points.
    virtual void DrawTempPolyline(const CArray<C3DPoint, C3DPoint&>& points);
    virtual void ClearTempPolyline();
    // Slab strips: a drawing bracketed by Begin/End, strips added by list index, one selected
    // (mode 2) or none (index -1, mode 1); cleared, or removed when the page goes away.
    virtual void BeginStripDraw();
    virtual void AddStrip(LPCTSTR name, const CArray<C3DPoint, C3DPoint&>& polyline, int index);
    virtual void SelectStrip(int index, int mode);
    virtual void EndStripDraw();
    virtual void ClearStripDraw();
    virtual void RemoveStripDraw();

private:
    CView* m_pView = nullptr;  // the model's view, not owned
};
