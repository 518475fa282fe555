// AppendBandPixels: a band list (the polygons a face was cut into) in memory-image pixels with
// each polygon's flat colour, as CEngineBase::DrawContourList fills it straight into pixels;
// CutFaceBandsBy: the cut of CEngineBase::CutFaceBands by any scale into any lists.
#pragma once

#include <vector>

#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/afx/CArray.h"

// Appends one pixel per vertex to pixels and, per polygon of any points, its point count and
// colour (its band's colour flat-shaded) to counts and colors. A vertex that copies a corner the
// scale noted takes that corner's projection. vcs is scratch (the vertices in view coordinates).
void AppendBandPixels(const CContourEngine& s, const I_PVXCtrl& ctrl, const GViewCamera::PixelTerms& terms,
                      const I_PVXModel::FlatShader& shade, CContourEngine::ValueColors& bandColor,
                      const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                      std::vector<C3DPoint>& vcs, std::vector<POINT>& pixels, std::vector<int>& counts,
                      std::vector<COLORREF>& colors);

// A face's band polygons as CEngineBase::CutFaceBands cuts them, by scale s into sizes and
// vertices (emptied first; a thread's own scale and lists); whether there are any.
bool CutFaceBandsBy(CContourEngine& s, const double* pValues, const C3DPoint* corners, int count, const int* pFlags,
                    int bFrame, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
