// alloc_counter.h - counts every allocation of a bench program, per thread kind.
//
// Replaces the global operator new, so include it in exactly one source of
// each program. Allocations are split into those of the thread that called
// markGuiThread() (the GUI thread, where the windows paint) and those of all
// other threads (the libraries' capture threads, where our callbacks run).
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace alloc {
inline std::atomic<long long> total{0};
inline std::atomic<long long> otherThreads{0};
inline thread_local bool guiThread = false;
inline void markGuiThread() { guiThread = true; }
}  // namespace alloc

void* operator new(std::size_t n) {
  alloc::total.fetch_add(1, std::memory_order_relaxed);
  if (!alloc::guiThread) alloc::otherThreads.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
