#pragma once
// The working copy's paths, the stand-in javaw.exe's records and the copy's contents.
#include "LauncherRun.h"

inline std::wstring embeddedDirectory() { return supportDirectory() + L"\\embedded"; }
inline std::wstring workingJreHome() { return embeddedDirectory() + L"\\Java\\jre1.7.0_40"; }
inline std::wstring javawRecordPath() { return workingJreHome() + L"\\bin\\javaw.record.txt"; }
const std::wstring kCopyLine = L"Performing one time copy of Resources to Embedded.";
inline std::string userMarker() { return regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"); }

// One start of the stand-in javaw.exe: its command line, its creation time and the variables it was given.
struct JavawRecord {
    std::wstring commandLine;
    unsigned long long created = 0;
    std::map<std::wstring, std::wstring> environment;
};

// The launcher does not wait for Java: waits for `expected` records, or half a second when none are expected.
inline std::vector<JavawRecord> javawRecords(size_t expected = 0) {
    std::vector<JavawRecord> records;
    for (const DWORD deadline = GetTickCount() + (expected ? 15000 : 500);; Sleep(50)) {
        records.clear();
        for (const std::string& raw : splitLines(readFile(javawRecordPath()))) {
            const std::wstring line = fromUtf8(raw);
            const size_t eq = line.find(L'='), start = line.rfind(L"command line: ", 0);
            if (start == 0) records.push_back({line.substr(14), 0, {}});
            if (line.rfind(L"created: ", 0) == 0 && !records.empty())
                records.back().created = std::stoull(line.substr(9));
            if (start != 0 && eq != std::wstring::npos && !records.empty())
                records.back().environment[line.substr(0, eq)] = line.substr(eq + 1);
        }
        if (GetTickCount() > deadline || (expected && records.size() >= expected)) return records;
    }
}

// When the stand-in update library was first called, on the clock of the stand-ins' creation times; 0 when it was not.
inline unsigned long long sparkleFirstCall(const LauncherInstall& install) {
    const std::string record = readFile(install.path(L"WinSparkle.record.txt"));
    return record.rfind("time ", 0) == 0 ? std::stoull(record.substr(5)) : 0;
}

// The files of a tree with their contents, but those named in `ignore`.
inline std::vector<std::pair<std::wstring, std::string>> treeContents(const std::wstring& root,
                                                                      const std::vector<std::wstring>& ignore) {
    std::vector<std::pair<std::wstring, std::string>> files;
    for (const auto& name : listFiles(root))
        if (std::find(ignore.begin(), ignore.end(), name) == ignore.end())
            files.push_back({name, readFile(root + L"\\" + name)});
    return files;
}

// The working copy holds the master's files exactly, besides what the launcher and Java add.
inline void expectCompleteWorkingCopy(const LauncherInstall& install) {
    const std::vector<std::wstring> added = {
        L"Java\\jre1.7.0_40\\lib\\deployment.config", L"Java\\jre1.7.0_40\\lib\\deployment.properties",
        L"Java\\jre1.7.0_40\\bin\\javaw.record.txt", L"Java\\jre1.7.0_40\\bin\\java.record.txt"};
    EXPECT_EQ(treeContents(install.path(L"Resources"), added), treeContents(embeddedDirectory(), added));
    EXPECT_FALSE(dirExists(embeddedDirectory() + L".partial"));
}
