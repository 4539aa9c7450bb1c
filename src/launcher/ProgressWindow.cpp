#include "launcher/ProgressWindow.h"

#include "launcher/LauncherResources.h"
#include "platform/Procedure.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace {

const wchar_t kTitle[] = L"Convoca Launcher";
const wchar_t kClassName[] = L"ConvocaLauncherProgress";
// How often the bar takes up the progress handed over.
const DWORD kRefreshMs = 50;
const int kBarRange = 1000;
const UINT kMarqueeStepMs = 30;
// A caption without a system menu: nothing to press, not even a close box.
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION;
const DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;

using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// Version 6 of the common controls draws the marquee and the system's look.
// A program without the launcher's manifest (a test) gets the default ones.
handles::ActivationContext commonControlsContext() {
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    context.hModule = GetModuleHandleW(nullptr);
    context.lpResourceName = MAKEINTRESOURCEW(CONVOCA_COMMON_CONTROLS_MANIFEST);
    return handles::ActivationContext(CreateActCtxW(&context));
}

// Loaded here only, so that a start without the window never loads it.
handles::Library loadProgressBarClass() {
    handles::Library controls(LoadLibraryW(L"comctl32.dll"));
    const auto init =
        controls ? findProcedure<InitCommonControlsExFunction>(controls.get(), "InitCommonControlsEx") : nullptr;
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    if (!init || !init(&classes)) controls.reset();
    return controls;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The window closes when its step ends, never at the user's request.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_APPSTARTING);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

handles::GdiObject messageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return handles::GdiObject();
    return handles::GdiObject(CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE textExtent(const std::wstring& text, HGDIOBJ font) {
    SIZE size = {320, 16};
    HDC screen = GetDC(nullptr);
    if (!screen) return size;
    HGDIOBJ previous = SelectObject(screen, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size;
}

// The controls and their font, on the window's own thread.
struct WindowParts {
    handles::GdiObject font;
    handles::Window window;
    HWND bar = nullptr;
};

// Laid out by the height of a line of text: a margin of one line around the
// text and the bar, centred in the work area.
WindowParts createWindow(const std::wstring& line, bool marquee) {
    WindowParts parts;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registerWindowClass(instance)) return parts;
    parts.font = messageFont();
    const SIZE text = textExtent(line, parts.font.get());
    const int unit = std::max<int>(text.cy, 12), width = std::max<int>(text.cx, 24 * unit);
    const int barTop = unit * 5 / 2, barHeight = unit;
    RECT frame = {0, 0, width + 2 * unit, barTop + barHeight + unit};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    parts.window.reset(CreateWindowExW(kExStyle, kClassName, kTitle, kStyle,
                                       work.left + (work.right - work.left - frameWidth) / 2,
                                       work.top + (work.bottom - work.top - frameHeight) / 2, frameWidth, frameHeight,
                                       nullptr, nullptr, instance, nullptr));
    if (!parts.window) return parts;
    HWND label = CreateWindowExW(0, L"STATIC", line.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, unit, unit,
                                 width, text.cy, parts.window.get(), nullptr, instance, nullptr);
    parts.bar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | (marquee ? PBS_MARQUEE : 0), unit,
                                barTop, width, barHeight, parts.window.get(), nullptr, instance, nullptr);
    if (parts.font && label) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(parts.font.get()), FALSE);
    if (parts.bar && marquee) SendMessageW(parts.bar, PBM_SETMARQUEE, TRUE, kMarqueeStepMs);
    if (parts.bar && !marquee) SendMessageW(parts.bar, PBM_SETRANGE32, 0, kBarRange);
    ShowWindow(parts.window.get(), SW_SHOWNORMAL);
    UpdateWindow(parts.window.get());
    return parts;
}

void dispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

ProgressWindow::ProgressWindow(std::wstring line, Bar bar, DWORD delayMs)
    : m_line(std::move(line)), m_bar(bar), m_delayMs(delayMs), m_closing(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (m_closing) m_thread = std::thread([this] { run(); });
}

ProgressWindow::~ProgressWindow() {
    if (!m_thread.joinable()) return;
    SetEvent(m_closing.get());
    m_thread.join();
}

void ProgressWindow::setProgress(unsigned long long done, unsigned long long total) {
    m_total = total;
    m_done = done;
}

void ProgressWindow::run() {
    if (WaitForSingleObject(m_closing.get(), m_delayMs) != WAIT_TIMEOUT) return;
    const handles::ActivationContext context = commonControlsContext();
    ULONG_PTR cookie = 0;
    const bool activated = context && ActivateActCtx(context.get(), &cookie);
    {
        const handles::Library controls = loadProgressBarClass();
        WindowParts parts = createWindow(m_line, m_bar == Bar::marquee);
        int shown = -1;
        const HANDLE closing = m_closing.get();
        while (parts.window &&
               MsgWaitForMultipleObjects(1, &closing, FALSE, kRefreshMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
            dispatchWaitingMessages();
            const unsigned long long total = m_total, done = std::min<unsigned long long>(m_done, total);
            const int position = total ? static_cast<int>(done * kBarRange / total) : 0;
            if (m_bar == Bar::bytes && parts.bar && position != shown)
                SendMessageW(parts.bar, PBM_SETPOS, static_cast<WPARAM>(shown = position), 0);
        }
        parts.window.reset();
    }
    if (activated) DeactivateActCtx(0, cookie);
}
