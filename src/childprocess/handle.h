#pragma once
// Move-only owner of a kernel handle whose "none" value is null (events,
// mutexes, threads, processes, pipe ends).
#include <windows.h>
#include <utility>

class owned_handle_t {
public:
    owned_handle_t() noexcept = default;
    explicit owned_handle_t(HANDLE handle) noexcept : m_handle(handle) {}
    ~owned_handle_t() { reset(); }

    owned_handle_t(owned_handle_t&& other) noexcept : m_handle(other.release()) {}
    owned_handle_t& operator=(owned_handle_t&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    owned_handle_t(const owned_handle_t&) = delete;
    owned_handle_t& operator=(const owned_handle_t&) = delete;

    HANDLE get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    HANDLE release() noexcept { return std::exchange(m_handle, nullptr); }
    void reset(HANDLE handle = nullptr) noexcept {
        HANDLE old = std::exchange(m_handle, handle);
        if (old != nullptr) ::CloseHandle(old);
    }

private:
    HANDLE m_handle = nullptr;
};
