#pragma once
// A small window of the launcher's own for a first start's long steps: the
// title "Convoca Launcher", one line of text and a bar, a taskbar button and
// nothing to press. It runs on a thread of its own and opens only when the
// step still runs after the delay, so a quick step shows nothing. Neither
// side waits on the other: progress is handed over in atomics, and the
// window keeps painting however long the step takes.
#include "handles/Handles.h"

#include <atomic>
#include <string>
#include <thread>

class ProgressWindow {
public:
    // bytes: a bar that setProgress fills; marquee: a moving bar for a wait
    // that has nothing to count.
    enum class Bar { bytes, marquee };
    static constexpr DWORD kDefaultDelayMs = 1000;

    ProgressWindow(std::wstring line, Bar bar, DWORD delayMs = kDefaultDelayMs);
    // Closes the window, if it opened, and waits for its thread.
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Returns at once, on any thread.
    void setProgress(unsigned long long done, unsigned long long total);

private:
    void run();

    const std::wstring m_line;
    const Bar m_bar;
    const DWORD m_delayMs;
    handles::Event m_closing;
    std::atomic<unsigned long long> m_done{0}, m_total{0};
    std::thread m_thread;
};
