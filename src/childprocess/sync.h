#pragma once
// The synchronisation pieces the pipe buffers are built from.
#include "handles/Handles.h"

#include <cstdint>

namespace childprocess {

// An unnamed manual-reset event, created non-signalled.
class event_t {
public:
    event_t();
    bool set();
    bool reset();
    HANDLE handle() const { return m_handle.get(); }

private:
    handles::Event m_handle;
};

// An unnamed mutex, created unowned.
class mutex_t {
public:
    mutex_t();
    HANDLE handle() const { return m_handle.get(); }

private:
    handles::Mutex m_handle;
};

// The outcome of a wait on n objects. Good means: no error code and no
// message; a timeout is therefore not good.
class wait_result_t {
public:
    // wait_value: what WaitForSingleObject / WaitForMultipleObjects returned
    // for these objects. Must be built right after the wait (a failed wait
    // takes the thread's last error).
    wait_result_t(DWORD wait_value, DWORD count, const HANDLE* objects);

    bool ok() const { return m_error_code == 0 && *m_error_message == '\0'; }
    bool is_signaled(HANDLE object) const { return m_signaled != nullptr && m_signaled == object; }
    bool timed_out() const { return m_timed_out; }
    bool abandoned() const { return m_abandoned; }
    std::uint32_t error_code() const { return m_error_code; }
    const char* error_message() const { return m_error_message; }

private:
    HANDLE m_signaled = nullptr;
    bool m_timed_out = false;
    std::uint32_t m_error_code = 0;
    const char* m_error_message = "";
    bool m_abandoned = false;
};

wait_result_t wait_for(HANDLE object, DWORD timeout);
// Waits for any of the objects; the first signalled one in the given order wins.
wait_result_t wait_for_any(const HANDLE* objects, DWORD count, DWORD timeout);

// Holds a mutex for a scope. The wait has a timeout; the mutex is released at
// the end of the scope only if the wait made this thread its owner.
class grab_mutex_t {
public:
    grab_mutex_t(mutex_t& mutex, DWORD timeout);
    ~grab_mutex_t();
    grab_mutex_t(const grab_mutex_t&) = delete;
    grab_mutex_t& operator=(const grab_mutex_t&) = delete;

    bool ok() const { return m_result.ok(); }
    const wait_result_t& result() const { return m_result; }

private:
    HANDLE m_mutex;
    wait_result_t m_result;
    bool m_owned;
};

} // namespace childprocess
