#pragma once
// Move-only owners for the kinds of handle the launcher holds. Each releases
// its handle on every way out of the scope that owns it.
#include <windows.h>
#include <utility>

namespace handles {

template <typename Traits>
class Unique {
public:
    using pointer = typename Traits::pointer;

    Unique() noexcept = default;
    explicit Unique(pointer value) noexcept : m_value(value) {}
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : m_value(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    pointer get() const noexcept { return m_value; }
    bool valid() const noexcept { return m_value != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    pointer release() noexcept { return std::exchange(m_value, Traits::invalid()); }
    void reset(pointer value = Traits::invalid()) noexcept {
        pointer old = std::exchange(m_value, value);
        if (old != Traits::invalid()) Traits::close(old);
    }
    // For APIs that fill a handle through an out parameter.
    pointer* put() noexcept { reset(); return &m_value; }

private:
    pointer m_value = Traits::invalid();
};

struct FileTraits {   // CreateFile and friends: INVALID_HANDLE_VALUE on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};
struct KernelTraits { // events, mutexes, processes, threads, pipes: NULL on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};
struct LocalTraits {
    using pointer = HLOCAL;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::LocalFree(h); }
};
struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::FreeLibrary(h); }
};

using File = Unique<FileTraits>;
using Kernel = Unique<KernelTraits>;
using Event = Unique<KernelTraits>;
using Mutex = Unique<KernelTraits>;
using Process = Unique<KernelTraits>;
using Thread = Unique<KernelTraits>;
using Find = Unique<FindTraits>;
using RegKey = Unique<RegKeyTraits>;
using LocalMemory = Unique<LocalTraits>;
using Module = Unique<ModuleTraits>;

} // namespace handles
