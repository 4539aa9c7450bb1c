#pragma once
// An anonymous pipe whose two ends are inheritable; each end is closed when
// asked or when the pipe goes.
#include "handles/Handles.h"

namespace childprocess {

class pipe_t {
public:
    pipe_t();

    HANDLE r() const { return m_r.get(); }
    HANDLE w() const { return m_w.get(); }
    void close_r();
    void close_w();

private:
    handles::Kernel m_r;
    handles::Kernel m_w;
};

} // namespace childprocess
