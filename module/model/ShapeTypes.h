// T_SHAPE_ARGUMENT: the request record of the model's element and member shape builders.
//
// I_PVXModel::GetShapeElement, GetShapeOnlyElement and GetShapeMember (and the deformation
// engine's deformed builders, which hand it on) take one of these by reference beside the face
// and index outputs. A default-constructed record asks for a plain shape: undeformed, faces only.
// Each pointer names an extra output (or input) the caller wants; every list put into an output
// is created with new and freed by the caller with I_PVXModel::FreeMemoryPolyList:
//     T_SHAPE_ARGUMENT arg;                  // all zero
//     CArray<UINT, UINT> faceKeys;
//     PVXKeyArrayList nodeKeys;
//     arg.pFaceNodeKeys = &nodeKeys;         // node key of every vertex, one array per face
//     arg.pFaceKeys = &faceKeys;             // element (or model element) key of every face
//     pModel->GetShapeMember(key, memb, faces, &flags, arg, 1, 1);
//     ...
//     I_PVXModel::FreeMemoryPolyList(&faces, &flags, &nodeKeys, nullptr);
#pragma once

#include "host/db/DBResultRecords.h"
#include "host/grx/C3DPoint.h"
#include "module/model/PVXShapeLists.h"
#include "platform/afx/CArray.h"

struct T_SHAPE_ARGUMENT {
    // Non-zero: the shape is drawn on the deformed geometry; with shrinking on, the member's end
    // displacements then move the shrink centre (when the deformation engine holds data).
    int bDeformed;
    // Out: one new key array per face with the node key of each vertex, or null.
    PVXKeyArrayList* pFaceNodeKeys;
    // Out: every vertex of the host's shape in host order, or null. When given, the back-face
    // option is not used, so no face is left out.
    CArray<C3DPoint>* pVertices;
    // Out: the back-to-front order of the faces as indices into the unsorted host faces, or null.
    CArray<int, int>* pZOrder;
    // In: drawing records (displacements) of the element's nodes, one per node in node order,
    // handed to the host builder unchanged so that it builds the deformed shape; null for none.
    CArray<T_DISP_D>* pNodeDisp;
    // Out: the element (or member, or model element of a super element) key of each face.
    CArray<UINT, UINT>* pFaceKeys;
    // Kept for the callers that fill it; the shape builders do not read it.
    int nReserved;

    T_SHAPE_ARGUMENT() { Initialize(); }
    void Initialize() {
        bDeformed = 0;
        pFaceNodeKeys = nullptr;
        pVertices = nullptr;
        pZOrder = nullptr;
        pNodeDisp = nullptr;
        pFaceKeys = nullptr;
        nReserved = 0;
    }
};
