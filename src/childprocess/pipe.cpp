#include "childprocess/pipe.h"
#include "childprocess/childprocess.h"

namespace childprocess {

pipe_t::pipe_t() {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    if (!::CreatePipe(m_r.put(), m_w.put(), &attributes, 0)) throw os_error_t("pipe_t::pipe_t: CreatePipe failed");
}

void pipe_t::close_r() {
    if (!m_r.close()) throw os_error_t("pipe_t::close_r: CloseHandle failed");
}

void pipe_t::close_w() {
    if (!m_w.close()) throw os_error_t("pipe_t::close_w: CloseHandle failed");
}

} // namespace childprocess
