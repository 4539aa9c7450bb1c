#include "childprocess/pipe.h"
#include "childprocess/exec_stream.h"

pipe_t::pipe_t() { create(); }

pipe_t::~pipe_t() {
    if (m_open & end_r) ::CloseHandle(m_r);
    if (m_open & end_w) ::CloseHandle(m_w);
}

void pipe_t::create() {
    close_r();
    close_w();
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    if (!::CreatePipe(&m_r, &m_w, &attributes, 0)) throw os_error_t("pipe_t::pipe_t: CreatePipe failed");
    m_open = end_r | end_w;
}

void pipe_t::close_r() {
    if (!(m_open & end_r)) return;
    m_open &= ~end_r;
    if (!::CloseHandle(m_r)) throw os_error_t("pipe_t::close_r: CloseHandle failed");
}

void pipe_t::close_w() {
    if (!(m_open & end_w)) return;
    m_open &= ~end_w;
    if (!::CloseHandle(m_w)) throw os_error_t("pipe_t::close_w: CloseHandle failed");
}
