#include "platform/pooled_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace vex::platform {
namespace {

// Each block starts with a header that records how it was obtained.
struct alignas(16) Header {
  std::size_t bytes;  // total size including the header; 0 for a malloc block
};

constexpr std::size_t kSmall = 16 * 1024;
// Whole pages: the parser asks for blocks of just over 32 KiB, which a coarser granule would
// nearly double (every byte of a block is populated).
constexpr std::size_t kGranule = 4 * 1024;
// Freed blocks kept for reuse, at most this much in all.
constexpr std::size_t kPoolCap = std::size_t(256) << 20;

class Pool {
 public:
  void* Take(std::size_t total) {
    {
      std::lock_guard lock(mutex_);
      auto it = free_.find(total);
      if (it != free_.end() && !it->second.empty()) {
        void* p = it->second.back();
        it->second.pop_back();
        pooled_ -= total;
        return p;
      }
    }
    void* p = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE,
                     -1, 0);
    return p == MAP_FAILED ? nullptr : p;
  }

  void Release() {
    std::lock_guard lock(mutex_);
    for (auto& [total, blocks] : free_)
      for (void* p : blocks) ::munmap(p, total);
    free_.clear();
    pooled_ = 0;
  }

  void Give(void* p, std::size_t total) {
    {
      std::lock_guard lock(mutex_);
      if (pooled_ + total <= kPoolCap) {
        free_[total].push_back(p);
        pooled_ += total;
        return;
      }
    }
    ::munmap(p, total);
  }

 private:
  std::mutex mutex_;
  std::map<std::size_t, std::vector<void*>> free_;
  std::size_t pooled_ = 0;
};

// The pool is never destroyed at exit (blocks may be freed during exit), only by
// EndPooledMemory; the slot itself needs no destruction.
std::atomic<Pool*>& PoolSlot() {
  static std::atomic<Pool*> slot{nullptr};
  return slot;
}

Pool& ThePool() {
  std::atomic<Pool*>& slot = PoolSlot();
  Pool* pool = slot.load(std::memory_order_acquire);
  if (pool) return *pool;
  auto* fresh = new Pool;
  if (slot.compare_exchange_strong(pool, fresh, std::memory_order_acq_rel)) return *fresh;
  delete fresh;  // another thread made it first
  return *pool;
}

}  // namespace

void* PooledAllocate(std::size_t bytes) {
  if (bytes > SIZE_MAX - sizeof(Header) - kGranule) return nullptr;
  if (bytes < kSmall) {
    auto* h = static_cast<Header*>(std::malloc(sizeof(Header) + bytes));
    if (!h) return nullptr;
    h->bytes = 0;
    return h + 1;
  }
  const std::size_t total = (sizeof(Header) + bytes + kGranule - 1) / kGranule * kGranule;
  auto* h = static_cast<Header*>(ThePool().Take(total));
  if (!h) return nullptr;
  h->bytes = total;
  return h + 1;
}

void ReleasePooledMemory() { ThePool().Release(); }

void EndPooledMemory() {
  Pool* pool = PoolSlot().exchange(nullptr, std::memory_order_acq_rel);
  if (!pool) return;
  pool->Release();
  delete pool;
}

void PooledFree(void* block) {
  if (!block) return;
  Header* h = static_cast<Header*>(block) - 1;
  if (h->bytes == 0)
    std::free(h);
  else
    ThePool().Give(h, h->bytes);
}

}  // namespace vex::platform
