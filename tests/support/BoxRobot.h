#pragma once
// Watches the desktop for message boxes, records each one's title and text in
// the order they appeared, and presses OK. Works for boxes of this process and
// of the launcher processes that a test starts.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct Box {
    std::wstring title;
    std::wstring text;
    bool operator==(const Box& o) const { return title == o.title && text == o.text; }
};

class BoxRobot {
public:
    BoxRobot();            // starts watching
    ~BoxRobot();           // stops watching
    BoxRobot(const BoxRobot&) = delete;
    BoxRobot& operator=(const BoxRobot&) = delete;

    std::vector<Box> boxes() const;
    // Waits until at least count boxes were pressed, or the timeout passes.
    bool waitForBoxes(size_t count, unsigned timeoutMs) const;
    void clear();
    // Leave boxes open (for tests that watch a process block on one).
    void setPaused(bool paused) { m_paused = paused; }

private:
    void run();

    mutable std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_paused{false};
    std::thread m_thread;
};

// Texts of the boxes only, for compact assertions.
std::vector<std::wstring> boxTexts(const std::vector<Box>& boxes);
