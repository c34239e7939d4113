#pragma once
#include <cstddef>
#include <cstdint>

class CResourceManager;

constexpr uint32_t CHUNK_MASK_ALL = 0xFFFFFFFFu;

// What one walk did, for tests and diagnostics.
struct ChunkWalkResult {
    int accepted = 0; // records read and handed on (or without a handler, dropped)
    int empty = 0;    // records that create nothing by their own fields
    int refused = 0;  // records that failed their checks
    int skipped = 0;  // chunks of kinds without a loader or masked out
    // False when the walk stopped at a chunk header that is broken (size below
    // the header, or running past the end of the stream).
    bool complete = true;
};

// Walks a model or animation chunk stream of `length` bytes with `manager` as
// the current registry, reading every chunk whose type has a loader and
// whose bit (type modulo 32) is set in the mask, and stepping by each
// chunk's size. A broken chunk header ends the walk; a refused record only
// drops that record.
ChunkWalkResult LoadChunkStream(CResourceManager* manager, const void* data, size_t length, uint32_t mask);
