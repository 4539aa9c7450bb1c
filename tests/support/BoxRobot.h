#pragma once
// Presses OK on every message box on the desktop, any process's, and records their titles and texts in order.
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

std::vector<std::wstring> boxTexts(const std::vector<Box>& boxes);

// For windows that are no message boxes (the update library's dialog): presses the visible, enabled button `button`
// of a top-level window that shows the text `shown`, as a click would; false when none came within timeoutMs.
bool pressWindowButton(const std::wstring& shown, const std::wstring& button, unsigned timeoutMs);
