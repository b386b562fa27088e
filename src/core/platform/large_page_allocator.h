#pragma once

#include <cstddef>
#include <new>

#include "platform/system.h"

namespace verbanta::platform {

/// Allocates arrays of megabytes on 2 MB boundaries and asks the kernel for huge pages there:
/// filling a new array then costs a handful of page faults instead of thousands, which is
/// what keeps reading a long file quick (a virtual machine pays dearly for every fault on
/// fresh memory). Smaller arrays come from the ordinary heap.
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
        void* p = allocateHugePages(footprint(n));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n)
    {
        if (n * sizeof(T) < kHugePage)
            ::operator delete(p);
        else
            freeHugePages(p);
    }
    template <typename U>
    friend bool operator==(const LargePageAllocator&, const LargePageAllocator<U>&)
    {
        return true;
    }
};

}  // namespace verbanta::platform
