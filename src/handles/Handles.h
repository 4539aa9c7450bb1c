#pragma once
// Move-only owners for every kind of handle the launcher and the child-process
// library hold. Each releases its handle on every way out of the scope that
// owns it. This is the only file that calls the Win32 close functions.
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
    // Closes now and reports the outcome, for callers that log a failed close.
    // Returns true when there was nothing to close; on failure GetLastError()
    // holds the reason.
    bool close() noexcept {
        pointer old = release();
        return old == Traits::invalid() || Traits::close(old);
    }
    // For APIs that fill a handle through an out parameter.
    pointer* put() noexcept {
        reset();
        return &m_value;
    }

private:
    pointer m_value = Traits::invalid();
};

struct FileTraits { // CreateFile and friends: INVALID_HANDLE_VALUE on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool close(pointer h) noexcept { return ::CloseHandle(h) != FALSE; }
};
struct KernelTraits { // events, mutexes, processes, threads, pipes: NULL on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept { return ::CloseHandle(h) != FALSE; }
};
struct FindTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool close(pointer h) noexcept { return ::FindClose(h) != FALSE; }
};
struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept {
        LONG status = ::RegCloseKey(h);
        if (status != ERROR_SUCCESS) ::SetLastError(static_cast<DWORD>(status));
        return status == ERROR_SUCCESS;
    }
};
struct LocalTraits {
    using pointer = HLOCAL;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept { return ::LocalFree(h) == nullptr; }
};

struct LibraryTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept { return ::FreeLibrary(h) != FALSE; }
};
struct ActivationContextTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool close(pointer h) noexcept {
        ::ReleaseActCtx(h);
        return true;
    }
};
struct GdiObjectTraits { // fonts, brushes, pens, bitmaps
    using pointer = HGDIOBJ;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept { return ::DeleteObject(h) != FALSE; }
};
struct WindowTraits { // destroyed on the thread that created it
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static bool close(pointer h) noexcept { return ::DestroyWindow(h) != FALSE; }
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
using Library = Unique<LibraryTraits>;
using ActivationContext = Unique<ActivationContextTraits>;
using GdiObject = Unique<GdiObjectTraits>;
using Window = Unique<WindowTraits>;

} // namespace handles
