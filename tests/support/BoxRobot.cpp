#include "BoxRobot.h"

#include <windows.h>
#include <algorithm>
#include <set>

namespace {

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())))));
    return text;
}

bool isClass(HWND hwnd, const wchar_t* name) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return _wcsicmp(cls, name) == 0;
}

struct Dialog {
    std::wstring text;
    HWND ok = nullptr;
    bool box = false; // a message text or an OK button: dialogs without either (the update library's) are not boxes
};

BOOL CALLBACK collectChild(HWND child, LPARAM param) {
    auto* dialog = reinterpret_cast<Dialog*>(param);
    // The message text is the static control with id 0xFFFF.
    const bool text = isClass(child, L"Static") && GetDlgCtrlID(child) == 0xFFFF;
    const bool button = isClass(child, L"Button"), ok = button && GetDlgCtrlID(child) == IDOK;
    if (text) dialog->text = windowText(child);
    if (ok || (button && !dialog->ok)) dialog->ok = child;
    dialog->box = dialog->box || text || ok;
    return TRUE;
}

BOOL CALLBACK collectVisible(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

} // namespace

void BoxRobot::run() {
    std::set<HWND> pressed;
    while (!m_stop) {
        Sleep(15);
        std::vector<HWND> tops;
        EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&tops));
        for (HWND hwnd : tops) {
            Dialog dialog;
            if (!pressed.count(hwnd) && isClass(hwnd, L"#32770"))
                EnumChildWindows(hwnd, collectChild, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog.ok || !dialog.box) continue; // pressed already, not fully built yet, or no box
            std::lock_guard<std::mutex> lock(m_mutex);
            m_boxes.push_back({windowText(hwnd), dialog.text});
            pressed.insert(hwnd);
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.ok));
        }
        // Forget handles that are gone, since Windows reuses them.
        for (auto it = pressed.begin(); it != pressed.end();) it = IsWindow(*it) ? std::next(it) : pressed.erase(it);
    }
}

std::vector<Box> BoxRobot::boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

void BoxRobot::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxes.clear();
}

std::vector<std::wstring> boxTexts(const std::vector<Box>& boxes) {
    std::vector<std::wstring> texts;
    for (const Box& box : boxes) texts.push_back(box.text);
    return texts;
}

bool pressWindowButton(const std::wstring& shown, const std::wstring& button, unsigned timeoutMs) {
    for (const DWORD end = GetTickCount() + timeoutMs; GetTickCount() < end; Sleep(50)) {
        std::vector<HWND> tops;
        EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&tops));
        for (HWND top : tops) {
            bool showing = false;
            HWND found = nullptr;
            for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (!IsWindowVisible(child)) continue;
                showing = showing || windowText(child) == shown;
                if (isClass(child, L"Button") && IsWindowEnabled(child) && windowText(child) == button) found = child;
            }
            if (showing && found)
                return PostMessageW(top, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(found), BN_CLICKED),
                                    reinterpret_cast<LPARAM>(found)) != 0;
        }
    }
    return false;
}
