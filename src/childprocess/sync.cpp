#include "childprocess/sync.h"
#include "childprocess/childprocess.h"

namespace childprocess {

event_t::event_t() : m_handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!m_handle) throw os_error_t("event_t::event_t: create event failed");
}

bool event_t::set() { return ::SetEvent(m_handle.get()) != FALSE; }

bool event_t::reset() { return ::ResetEvent(m_handle.get()) != FALSE; }

mutex_t::mutex_t() : m_handle(::CreateMutexW(nullptr, FALSE, nullptr)) {
    if (!m_handle) throw os_error_t("mutex_t::mutex_t: CreateMutex failed");
}

wait_result_t::wait_result_t(DWORD wait_value, DWORD count, const HANDLE* objects) {
    if (wait_value < count) {
        m_signaled = objects[wait_value];
    } else if (wait_value >= WAIT_ABANDONED_0 && wait_value < WAIT_ABANDONED_0 + count) {
        m_abandoned = true;
        m_error_message = "wait_result_t: one of the wait objects was abandoned";
    } else if (wait_value == WAIT_TIMEOUT) {
        m_timed_out = true;
        m_error_message = "wait_result_t: timeout elapsed";
    } else if (wait_value == WAIT_FAILED) {
        m_error_code = ::GetLastError();
    } else {
        m_error_message = "wait_result_t: weird error: unrecognised WaitForMultipleObjects return value";
        m_error_code = wait_value;
    }
}

wait_result_t wait_for(HANDLE object, DWORD timeout) {
    return wait_result_t(::WaitForSingleObject(object, timeout), 1, &object);
}

wait_result_t wait_for_any(const HANDLE* objects, DWORD count, DWORD timeout) {
    return wait_result_t(::WaitForMultipleObjects(count, objects, FALSE, timeout), count, objects);
}

grab_mutex_t::grab_mutex_t(mutex_t& mutex, DWORD timeout)
    : m_mutex(mutex.handle()), m_result(wait_for(mutex.handle(), timeout)) {
    // An abandoned mutex is owned by the waiter all the same and must be let go.
    m_owned = m_result.is_signaled(m_mutex) || m_result.abandoned();
}

grab_mutex_t::~grab_mutex_t() {
    if (m_owned) ::ReleaseMutex(m_mutex);
}

} // namespace childprocess
