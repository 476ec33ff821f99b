#pragma once
// Memory for large, short-lived documents (parsed XML, workbooks). Big blocks come from the
// system already populated and freed blocks are kept for reuse: on virtual machines every
// first touch of a page is a costly trap, and a 100,000-cell table touches tens of thousands.

#include <cstddef>

namespace vex::platform {

// malloc-like: nullptr when memory is exhausted. Blocks below 16 KiB come from malloc.
void* PooledAllocate(std::size_t bytes);
// Frees a block from PooledAllocate (nullptr is ignored).
void PooledFree(void* block);

// Returns the freed blocks kept for reuse to the system: for a program that has read its one
// large document and goes on to other work.
void ReleasePooledMemory();

// Returns the kept blocks and the pool itself: for a plug-in about to be unloaded, whose code
// and statics go with it (a pool left behind would hold its blocks for good). No other thread
// may use the pool meanwhile; a block freed later goes to a new pool.
void EndPooledMemory();

}  // namespace vex::platform
