#pragma once
#include <cstdint>

// Bytes of one element of a vertex-format mask, by bit; 0 above the last element.
int GetVertexElementSize(int element);
// Bytes per vertex: the sum over the set bits 0 to 18; higher bits count nothing.
int GetVertexSize(uint32_t mask);
