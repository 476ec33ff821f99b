// The pool of large blocks: blocks outlive the pool they came from, as a plug-in's documents
// may outlive its unload.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/pooled_memory.h"

namespace vex::platform {
namespace {

TEST(PooledMemory, BlocksOutliveTheEndOfThePool) {
  constexpr std::size_t kLarge = 64 * 1024;
  void* before = PooledAllocate(kLarge);
  ASSERT_NE(before, nullptr);
  std::memset(before, 0x5a, kLarge);
  void* small = PooledAllocate(100);
  ASSERT_NE(small, nullptr);

  EndPooledMemory();
  EndPooledMemory();  // nothing left to end
  // A block of the old pool is freed into a new one, which hands it out again.
  PooledFree(before);
  void* again = PooledAllocate(kLarge);
  EXPECT_EQ(again, before);
  PooledFree(again);
  PooledFree(small);
  PooledFree(nullptr);
  EndPooledMemory();
  void* after = PooledAllocate(kLarge);
  ASSERT_NE(after, nullptr);
  static_cast<char*>(after)[kLarge - 1] = 1;
  PooledFree(after);
  EndPooledMemory();
}

}  // namespace
}  // namespace vex::platform
