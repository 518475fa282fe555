// Geometry shared by the drawing, its export and its rendering: extents of entities, the text
// box of the justification codes, arc sweeps and the view fitting.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/base/GeomTypes.h"

class CvdFigure;

namespace vd {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;

struct Box {
    bool valid = false;
    double xmin = 0.0, ymin = 0.0, xmax = 0.0, ymax = 0.0;
    void Add(double x, double y);
    void Add(const T_POINT2D& p) { Add(p.x, p.y); }
};

// Estimated advance width of a UTF-8 text of height h: h per CJK character (U+2E80 and above),
// 0.6 h per other character.
double EstimateTextWidth(const std::string& text, double h);

// Offset of the text box's lower-left corner from the insertion point, unrotated, for a box
// w wide and h high under the justification codes.
T_POINT2D JustifyOffset(int horJust, int verJust, double w, double h);

// The four corners of a text's box (width w), counter-clockwise from the lower left.
void TextCorners(const CvdFigure& text, double w, T_POINT2D out[4]);

// Counter-clockwise sweep of an arc from start to end, degrees in (0, 360].
double ArcSweep(double startDeg, double endDeg);

// Adds the entity's extent to box (texts with their estimated box).
void AddFigureBox(const CvdFigure& f, Box& box);

// The view window that shows box with a 5 % margin on each side (a point or a line gets a
// window one unit wide).
void FitWindow(const double box[4], double view[4]);

// Splits a simple polygon into triangles (ear clipping); each triangle is three indices into
// pts. Degenerate polygons give fewer triangles.
std::vector<int> Triangulate(std::span<const T_POINT2D> pts);

// Points of the counter-clockwise arc, chords of at most maxStepDeg degrees.
std::vector<T_POINT2D> ArcPoints(const T_POINT2D& centre, double r, double startDeg, double sweepDeg,
                                 double maxStepDeg);

// The arrow head triangle (tip, then the two back corners) and the shaft's end at the head.
void ArrowHead(const CvdFigure& arrow, T_POINT2D head[3], T_POINT2D& shaftEnd);

}  // namespace vd
