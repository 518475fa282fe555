// AppendBandPixels: a band list (the polygons a face was cut into) in memory-image pixels with
// each polygon's flat colour, as CEngineBase::DrawContourList fills it straight into pixels.
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
