#include "launcher/LauncherPaths.h"

#include "logging/Logger.h"
#include "platform/BaseDirectory.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

// The system's folders, with each environment variable that is read logged.
class LoggedBaseDirectories : public SystemBaseDirectories {
public:
    std::wstring environment(const wchar_t* name) const override {
        std::wstring value = SystemBaseDirectories::environment(name);
        if (value.size() >= 4096) value.clear();
        tvs::Logger::getInstance().log(L"Environment variable %ls: %ls", name, value.c_str());
        return value;
    }
};

} // namespace

std::wstring findSupportDirectory() {
    const std::wstring base = findBaseDirectory(LoggedBaseDirectories());
    if (base.empty()) return L"";
    return getLongPath(base) + L"\\" + names::kSupportSubdirectory;
}

std::vector<std::wstring> parseCommandLine() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return {};
    handles::LocalMemory owner(reinterpret_cast<HLOCAL>(argv));
    return std::vector<std::wstring>(argv, argv + count);
}

std::wstring directoryOf(const std::wstring& path) {
    std::wstring buffer = path;
    buffer.push_back(L'\0');
    if (!PathRemoveFileSpecW(buffer.data())) return L"";
    std::wstring directory = buffer.c_str();
    return directory.empty() ? directory : getLongPath(directory);
}
