#pragma once
// Memory running out on purpose: this header replaces the test program's operator new, so that a
// test can count the allocations a step makes and then make a chosen one of them fail with
// std::bad_alloc. It defines the replacement functions, so exactly one source file of a program
// includes it.

#include <atomic>
#include <cstdlib>
#include <new>

namespace qlp::test {

class FailAllocations {
public:
    // Counts from zero the allocations of every thread, or with `thisThreadOnly` those of the
    // calling thread alone (a window's workers go on allocating while a test drives the window).
    static void count(bool thisThreadOnly = false) {
        watched() = thisThreadOnly;
        anyThread().store(!thisThreadOnly);
        made().store(0);
    }
    static long counted() { return made().load(); }

    // After `skip` more counted allocations, the next one fails, once; -1 lets every allocation
    // succeed. Returns the setting it replaces, so a test can pause the failure and resume it.
    static long failAfter(long skip) { return countdown().exchange(skip); }

    // Called by operator new: true when this allocation is the one to fail.
    static bool failNow() noexcept {
        if (!anyThread().load(std::memory_order_relaxed) && !watched())
            return false;
        made().fetch_add(1, std::memory_order_relaxed);
        long left = countdown().load(std::memory_order_relaxed);
        while (left >= 0) {
            if (countdown().compare_exchange_weak(left, left - 1, std::memory_order_relaxed))
                return left == 0;
        }
        return false;
    }

private:
    static std::atomic<long>& countdown() {
        static std::atomic<long> value{-1};
        return value;
    }
    static std::atomic<long>& made() {
        static std::atomic<long> value{0};
        return value;
    }
    static std::atomic<bool>& anyThread() {
        static std::atomic<bool> value{true};
        return value;
    }
    static bool& watched() noexcept {
        static thread_local bool value = false;
        return value;
    }
};

} // namespace qlp::test

void* operator new(std::size_t size) {
    if (qlp::test::FailAllocations::failNow())
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// The replacement allocates with malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
