// The node-value sheets: one value per member or raft plate gathered from the results at its
// nodes, written at the outline's centroid (along the member for members).
//
//     type  class                    walks   shows                          value
//     511   CFVDMembInfoDrawByNode   PMEMB   301, 306, 201 sub-kind 2 or 3  combined reaction, kN
//     264   CFVDBeam_Ract            PMEMB   201 sub-kind 0, no link beam   shared reaction, kN/m
//     512   CFVDMTSBDesign_Disp      PMEMB   as 511                         largest settlement, mm
//     265   CFVDBeam_Disp            PMEMB   as 264                         largest settlement, mm
//     524   CFVDELEM_Ract            PELEM   foundation plates              mean spring pressure
//     525   CFVDELEM_Disp            PELEM   foundation plates              largest settlement, mm
//
// A node shared by members counts whole for each of them, except on 264: there each node's
// reaction is shared among the beams it shows by their tributary lengths, so that the values
// times the lengths add up to what the springs carry. Displacements come from IDesignToolUtil::s_GetNodesMaxDisp in metres and are written in
// millimetres.
#pragma once

#include "host/check/IDesignToolUtil.h"
#include "module/figures/CFVDBase.h"

class CDataBase;
struct T_PMEMB_D;

class CFVDMembInfoDrawByNode : public CFVDBase {
    DECLARE_DYNCREATE(CFVDMembInfoDrawByNode)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override {}
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    virtual BOOL IsMemberShown(int type, int subKind);
    // The value of an object from its nodes; key in: the load key, out: the one used.
    virtual BOOL GetNodeValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value);
    // One member or element: outline on layer 25, value on layer 50; TRUE.
    virtual BOOL DrawAtNodes(UINT key, CDataBase* db);
    // No member or plate got a value: the outlines alone are no sheet of values.
    BOOL ShowedNoValue() const override { return m_nValues == 0; }
    // 1 for the reaction sheets, 0 for the displacement sheets.
    virtual int IsReactionSheet() { return 1; }
    // Non-zero for the sheets that walk the raft's plates rather than the members.
    virtual BOOL WalksElements() { return FALSE; }
    // FALSE for the grade-beam sheets, which leave the link beams (BEAM.link 1) out: a link beam
    // bears on no soil.
    virtual BOOL ShowsLinkBeams() { return TRUE; }

    // The text angle of a member along its outline: from the first point to the last, turned
    // round when that line does not read forwards; 0 for fewer than two points.
    static double MemberTextAngle(const CArray<T_POINT2D>& pts);
    // The value text: the number and its combination's label in brackets (none with a load case
    // chosen).
    static CString MakeValueText(double value, UINT comb, UINT loadCase);

protected:
    virtual const char* DescriptionKey() const { return "IDS_DESCREPT_UNITAS_AREALOADS"; }
    // A beam member the foundation model marks as a link beam.
    BOOL IsLinkBeam(const T_PMEMB_D& m);
    // The value of step 3: FALSE without nodes, else GetNodeValue from the current load case.
    BOOL ObjectValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value);
    void DrawValue(const CArray<T_POINT2D>& pts, double value, UINT comb, BOOL alongMember);
    int m_nValues = 0;  // values the last DrawFigure wrote
};

class CFVDBeam_Ract : public CFVDMembInfoDrawByNode {
    DECLARE_DYNCREATE(CFVDBeam_Ract)
public:
    void DrawFigure() override;
    BOOL IsMemberShown(int type, int subKind) override;
    BOOL ShowsLinkBeams() override { return FALSE; }
    // The member's share of its nodes' reactions per metre (IRactFinder::GetSharedLineValue)
    // among the beams this sheet shows.
    BOOL GetNodeValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value) override;

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITAS_LINELOADS"; }

private:
    IRactFinder::NodeLengths m_shared;  // tributary lengths of the shown beams at their nodes
};

class CFVDMTSBDesign_Disp : public CFVDMembInfoDrawByNode {
    DECLARE_DYNCREATE(CFVDMTSBDesign_Disp)
public:
    void SetDefaultOptions() override;
    BOOL GetNodeValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value) override;
    int IsReactionSheet() override { return 0; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_LENGTHUNIT_MM"; }
};

class CFVDBeam_Disp : public CFVDMTSBDesign_Disp {
    DECLARE_DYNCREATE(CFVDBeam_Disp)
public:
    BOOL IsMemberShown(int type, int subKind) override;
    BOOL ShowsLinkBeams() override { return FALSE; }
};

class CFVDELEM_Ract : public CFVDMembInfoDrawByNode {
    DECLARE_DYNCREATE(CFVDELEM_Ract)
public:
    BOOL GetNodeValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value) override;
    BOOL WalksElements() override { return TRUE; }
};

class CFVDELEM_Disp : public CFVDELEM_Ract {
    DECLARE_DYNCREATE(CFVDELEM_Disp)
public:
    void SetDefaultOptions() override;
    BOOL GetNodeValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value) override;
    int IsReactionSheet() override { return 0; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_LENGTHUNIT_MM"; }
};
