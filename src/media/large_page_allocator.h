#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace verbanta::media {

/// Allocates arrays of megabytes on 2 MB boundaries and asks the kernel for huge pages there:
/// filling a new array then costs a handful of page faults instead of thousands, which is
/// what keeps reading a long file's peaks from the cache quick (a virtual machine pays dearly
/// for every fault on fresh memory).
template <typename T>
struct LargePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = std::size_t(2) << 20;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&)
    {
    }

    /// The bytes an array of `n` takes, rounded up to whole huge pages when it gets them.
    static std::size_t footprint(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        return bytes < kHugePage ? bytes : (bytes + kHugePage - 1) / kHugePage * kHugePage;
    }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage)
            return static_cast<T*>(::operator new(bytes));
        const std::size_t rounded = footprint(n);
        void* p = std::aligned_alloc(kHugePage, rounded);
        if (!p)
            throw std::bad_alloc();
        ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint: without huge pages it still works
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n)
    {
        if (n * sizeof(T) < kHugePage)
            ::operator delete(p);
        else
            std::free(p);
    }
    template <typename U>
    friend bool operator==(const LargePageAllocator&, const LargePageAllocator<U>&)
    {
        return true;
    }
};

}  // namespace verbanta::media
