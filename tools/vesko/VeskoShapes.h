#pragma once
#include <vector>

#include "engine/math/Matrix.h"
#include "tools/content/MeshBuilder.h"

// Shapes for a figure, built as parametric surfaces on a CMeshBuilder. Round
// parts go round with s: s = 0 at the back (-z), 0.25 on the left (+x), 0.5
// at the front (+z); texture u follows s, so the front is the middle of a
// texture. t runs from the top (or the start of a path) to the bottom.

// A cross-section of an upright part at height y: an ellipse round (x, z)
// with half-widths rx (across) and rz (front to back).
struct Station {
    float y, x, z, rx, rz;
};

// Extra outward offset of a tube at a given height and angle (s).
using BulgeFn = float (*)(float y, float s);

// An upright tube through stations (top first, y falling), smooth between
// them; texture v = v0 + (vTop - y) * vPerUnit. A station with zero radii
// closes the tube. `inflate` pushes the whole surface outward (for clothes
// over the body). False for fewer than two stations.
bool AddTube(CMeshBuilder& mesh, const std::vector<Station>& stations, int around, int along, float vTop,
             float vPerUnit, float v0, float inflate = 0, BulgeFn bulge = nullptr, float s0 = 0, float s1 = 1);

// The same tube, sampled only between heights yTop and yBottom (inside the
// stations' range): a garment's band.
bool AddTubeBand(CMeshBuilder& mesh, const std::vector<Station>& stations, float yTop, float yBottom, int around,
                 int along, float vTop, float vPerUnit, float v0, float inflate, BulgeFn bulge = nullptr);

// An ellipsoid with radii r round the origin, placed by `placement`; u runs
// round, v from the top (v0) to the bottom (v1).
bool AddEllipsoid(CMeshBuilder& mesh, MeshPoint radii, const CMatrix& placement, int around, int rings, float v0 = 0,
                  float v1 = 1);

// A torus round the y axis (ring radius, tube radius, flattened in y by
// `flat`), placed by `placement`.
bool AddRing(CMeshBuilder& mesh, float radius, float tube, float flat, const CMatrix& placement, int around = 24,
             int sides = 8);

// A tapering tube along a path (at least two points): radius along the
// path's start to end goes from r0 to r1, flattened across `side` (a unit
// vector roughly across the path) by `flat`; closed at the far end when
// r1 is 0.
bool AddStrand(CMeshBuilder& mesh, const std::vector<MeshPoint>& path, float r0, float r1, float flat, MeshPoint side,
               int around = 10, int along = 12);

// Placement helpers (row-vector matrices): scale, then rotate about x, y, z,
// then translate.
CMatrix Place(MeshPoint at, MeshPoint rotation = {0, 0, 0}, MeshPoint scale = {1, 1, 1});
