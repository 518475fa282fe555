// CBeamDiagram_PVX: the exact beam diagram calculator. A model keeps at most one, made on demand
// by the deformation drawing and deleted with the model.
#pragma once

class CBeamDiagram_PVX {
public:
    CBeamDiagram_PVX() = default;
    virtual ~CBeamDiagram_PVX() = default;
    CBeamDiagram_PVX(const CBeamDiagram_PVX&) = delete;
    CBeamDiagram_PVX& operator=(const CBeamDiagram_PVX&) = delete;
};
