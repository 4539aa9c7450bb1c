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
    std::wstring title, text;
    bool operator==(const Box& o) const { return title == o.title && text == o.text; }
};

class BoxRobot {
public:
    BoxRobot() : m_thread([this] { run(); }) {}
    ~BoxRobot() {
        m_stop = true;
        m_thread.join();
    }

    std::vector<Box> boxes() const;
    void clear();

private:
    void run();

    mutable std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Texts of the boxes only, for compact assertions.
std::vector<std::wstring> boxTexts(const std::vector<Box>& boxes);
