// Stand-in for the runtime's javaw.exe: records how it was started, then exits.
// Each start appends one record to "javaw.record.txt" beside the program:
//   command line: <GetCommandLineW>
//   started: <QueryPerformanceCounter at its first statement>
//   created: <its creation time, FILETIME units>
//   <NAME>=<value>     for each of the seven variables the launcher sets
//   end
#include "Record.h"

namespace {
const wchar_t* const kVariables[] = {L"JAVA_HOME",       L"JRE_HOME",           L"LATEST_JRE_HOME", L"FORCED_FX_ROOT",
                                     L"FORCED_JRE_ROOT", L"FORCED_DEPLOY_ROOT", L"_JAVA_OPTIONS"};
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    std::wstring record = L"command line: " + std::wstring(GetCommandLineW()) + L"\r\nstarted: " +
                          std::to_wstring(started.QuadPart) + L"\r\ncreated: " + fromAnsi(standin::creationTime()) +
                          L"\r\n";
    for (const wchar_t* name : kVariables) {
        wchar_t value[8192] = {};
        DWORD n = GetEnvironmentVariableW(name, value, 8192);
        record += std::wstring(name) + (n ? L"=" + std::wstring(value, n) : L" (unset)") + L"\r\n";
    }
    record += L"end\r\n";
    standin::appendRecord(standin::moduleDirectory(nullptr) + L"\\javaw.record.txt", standin::utf8(record));
    return 0;
}
