#include "allocation_seam.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_countdown{0};
std::atomic<bool> g_struck{false};
std::atomic<long> g_count{0};
std::atomic<qx_test::ReleaseObserver> g_releaseObserver{nullptr};

void* Allocate(std::size_t size) {
    g_count.fetch_add(1, std::memory_order_relaxed);
    long left = g_countdown.load(std::memory_order_relaxed);
    while (left > 0) {
        if (g_countdown.compare_exchange_weak(left, left - 1, std::memory_order_acq_rel)) {
            if (left == 1) {
                g_struck.store(true, std::memory_order_release);
                throw std::bad_alloc();
            }
            break;
        }
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void Release(void* p) noexcept {
    if (qx_test::ReleaseObserver observer = g_releaseObserver.load(std::memory_order_acquire)) {
        observer(p);
    }
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace qx_test {

void FailNthAllocation(long n) {
    g_struck.store(false, std::memory_order_release);
    g_countdown.store(n < 0 ? 0 : n, std::memory_order_release);
}

bool AllocationFailureStruck() { return g_struck.load(std::memory_order_acquire); }

long AllocationCount() { return g_count.load(std::memory_order_relaxed); }

void ResetAllocationCount() { g_count.store(0, std::memory_order_relaxed); }

void SetReleaseObserver(ReleaseObserver observer) {
    g_releaseObserver.store(observer, std::memory_order_release);
}

}  // namespace qx_test
