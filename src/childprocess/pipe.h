#pragma once
// An anonymous pipe whose two ends are inheritable; each end is closed when
// asked or when the pipe goes.
#include <windows.h>

class pipe_t {
public:
    pipe_t();
    ~pipe_t();
    pipe_t(const pipe_t&) = delete;
    pipe_t& operator=(const pipe_t&) = delete;

    HANDLE r() const { return m_r; }
    HANDLE w() const { return m_w; }
    void close_r();
    void close_w();

private:
    void create();

    enum { end_r = 1, end_w = 2 };
    HANDLE m_r = nullptr;
    HANDLE m_w = nullptr;
    int m_open = 0;
};
