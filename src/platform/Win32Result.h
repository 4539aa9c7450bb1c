#pragma once
// The outcome of a platform call that can fail: success, or failure with the
// Win32 error code of the system call that failed, taken when it failed.
#include <windows.h>

class Win32Result {
public:
    Win32Result() = default; // success
    static Win32Result failure(DWORD error) { return Win32Result(error); }
    static Win32Result lastError() { return Win32Result(GetLastError()); }

    explicit operator bool() const { return m_succeeded; }
    // ERROR_SUCCESS on success; on failure the call's code, which is
    // ERROR_SUCCESS only when the failed call did not set one.
    DWORD error() const { return m_error; }

private:
    explicit Win32Result(DWORD error) : m_succeeded(false), m_error(error) {}

    bool m_succeeded = true;
    DWORD m_error = ERROR_SUCCESS;
};
