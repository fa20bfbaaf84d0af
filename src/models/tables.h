// The fixed tables of the cube and the two polytopes. Drawing routines take
// local copies of the vertex tables, since they transform them in place.
#pragma once

#include "geom4/types.h"

namespace fourview {

// Corner k: x = +1 when bit 2 of k is set, else -1; y from bit 1; z from bit 0.
constexpr Point4 CubeVertices[8] = {
    {-1, -1, -1, 0}, {-1, -1, 1, 0}, {-1, 1, -1, 0}, {-1, 1, 1, 0},
    {1, -1, -1, 0},  {1, -1, 1, 0},  {1, 1, -1, 0},  {1, 1, 1, 0},
};

// Consecutive corners of a face share an edge of it.
constexpr int CubeFaces[6][4] = {
    {4, 6, 7, 5},  // x = 1
    {3, 7, 6, 2},  // y = 1
    {1, 5, 7, 3},  // z = 1
    {2, 6, 4, 0},  // z = -1
    {0, 4, 5, 1},  // y = -1
    {0, 1, 3, 2},  // x = -1
};

// The decimal constant as written, not the exact sqrt(5)/4: all five lie on
// the unit 3-sphere and all ten pairs are sqrt(2.5) apart up to its rounding.
constexpr double kFiveCellA = 0.559017;
constexpr Point4 FiveCellVertices[5] = {
    {0, 0, 0, 1},
    {-kFiveCellA, kFiveCellA, kFiveCellA, -0.25},
    {kFiveCellA, -kFiveCellA, kFiveCellA, -0.25},
    {kFiveCellA, kFiveCellA, -kFiveCellA, -0.25},
    {-kFiveCellA, -kFiveCellA, -kFiveCellA, -0.25},
};

constexpr int FiveCellEdges[10][2] = {
    {2, 3}, {3, 4}, {4, 2}, {1, 3}, {4, 1}, {1, 2}, {0, 3}, {4, 0}, {0, 2}, {0, 1},
};

constexpr int FiveCellTriangles[10][3] = {
    {0, 1, 2}, {0, 1, 3}, {0, 1, 4}, {0, 2, 3}, {0, 2, 4},
    {0, 3, 4}, {1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {2, 3, 4},
};

// Vertex k: x = +1 when bit 3 of k is set, else -1; y from bit 2; z from
// bit 1; w from bit 0.
constexpr Point4 HypercubeVertices[16] = {
    {-1, -1, -1, -1}, {-1, -1, -1, 1}, {-1, -1, 1, -1}, {-1, -1, 1, 1},
    {-1, 1, -1, -1},  {-1, 1, -1, 1},  {-1, 1, 1, -1},  {-1, 1, 1, 1},
    {1, -1, -1, -1},  {1, -1, -1, 1},  {1, -1, 1, -1},  {1, -1, 1, 1},
    {1, 1, -1, -1},   {1, 1, -1, 1},   {1, 1, 1, -1},   {1, 1, 1, 1},
};

// Each joins two vertices that differ in one bit.
constexpr int HypercubeEdges[32][2] = {
    {0, 1},   {0, 2},   {0, 4},   {0, 8},   {1, 3},   {1, 5},   {1, 9},   {2, 3},
    {2, 6},   {2, 10},  {3, 7},   {3, 11},  {4, 5},   {4, 6},   {4, 12},  {5, 7},
    {5, 13},  {6, 7},   {6, 14},  {7, 15},  {8, 9},   {8, 10},  {8, 12},  {9, 11},
    {9, 13},  {10, 11}, {10, 14}, {11, 15}, {12, 13}, {12, 14}, {13, 15}, {14, 15},
};

// (a, b, c, d): a-b and c-d differ in the lower of the two varying bits,
// a-c and b-d in the higher one, so the boundary runs a, b, d, c. The
// squares are cut into the triangles a, b, c and b, c, d.
constexpr int HypercubeSquares[24][4] = {
    {0, 1, 2, 3},   {4, 5, 6, 7},   {8, 9, 10, 11},  {12, 13, 14, 15},  // z, w
    {0, 1, 8, 9},   {2, 3, 10, 11}, {4, 5, 12, 13},  {6, 7, 14, 15},    // x, w
    {0, 4, 8, 12},  {1, 5, 9, 13},  {2, 6, 10, 14},  {3, 7, 11, 15},    // x, y
    {0, 2, 4, 6},   {1, 3, 5, 7},   {8, 10, 12, 14}, {9, 11, 13, 15},   // y, z
    {0, 1, 4, 5},   {2, 3, 6, 7},   {8, 9, 12, 13},  {10, 11, 14, 15},  // y, w
    {0, 2, 8, 10},  {1, 3, 9, 11},  {4, 6, 12, 14},  {5, 7, 13, 15},    // x, z
};

// The cube's edges, for the drawing that walks along them (models/curved.h).
constexpr int CubeEdges[12][2] = {
    {0, 1}, {0, 2}, {0, 4}, {1, 3}, {1, 5}, {2, 3}, {2, 6}, {3, 7}, {4, 5}, {4, 6}, {5, 7}, {6, 7},
};

}  // namespace fourview
