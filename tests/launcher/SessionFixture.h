#pragma once
// Shared by the session and setup tests: the working copy's paths, the
// stand-in javaw.exe's records and a valid session file.
#include "LauncherRun.h"

#include <string>
#include <vector>

inline std::wstring embeddedDirectory() { return supportDirectory() + L"\\embedded"; }
inline std::wstring workingJreHome() { return embeddedDirectory() + L"\\Java\\jre1.7.0_40"; }
inline std::wstring javawRecordPath() { return workingJreHome() + L"\\bin\\javaw.record.txt"; }

// One start of the stand-in javaw.exe.
struct JavawRecord {
    std::wstring commandLine;
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    std::wstring variable(const std::wstring& name) const {
        for (const auto& kv : environment)
            if (kv.first == name) return kv.second;
        return L"<missing>";
    }
};

inline std::vector<JavawRecord> readJavawRecords() {
    std::vector<JavawRecord> records;
    JavawRecord current;
    for (const std::string& raw : splitLines(readFile(javawRecordPath()))) {
        std::wstring line = fromUtf8(raw);
        if (line.rfind(L"command line: ", 0) == 0) {
            current = JavawRecord{line.substr(14), {}};
        } else if (line == L"end") {
            records.push_back(current);
        } else {
            size_t eq = line.find(L'=');
            if (eq != std::wstring::npos) current.environment.push_back({line.substr(0, eq), line.substr(eq + 1)});
        }
    }
    return records;
}

// The launcher does not wait for Java: give the stand-in time to record.
// Waits for `expected` records, or a short while when none are expected.
inline std::vector<JavawRecord> javawRecords(size_t expected = 0) {
    DWORD deadline = GetTickCount() + (expected ? 15000 : 700);
    std::vector<JavawRecord> records = readJavawRecords();
    while (GetTickCount() < deadline && (expected == 0 || records.size() < expected)) {
        Sleep(50);
        records = readJavawRecords();
    }
    return records;
}

inline std::string sessionXml(const std::string& codebase = "https://meet.convoca.com/client/") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<jnlp codebase=\"" + codebase +
           "\">\n  <information><title>Convoca</title></information>\n</jnlp>\n";
}

// The files of a tree with their contents, for comparing two trees.
inline std::vector<std::pair<std::wstring, std::string>> treeContents(
    const std::wstring& root, const std::vector<std::wstring>& ignore) {
    std::vector<std::pair<std::wstring, std::string>> files;
    for (const auto& name : listFiles(root)) {
        bool skip = false;
        for (const auto& i : ignore) skip = skip || name == i;
        if (!skip) files.push_back({name, readFile(root + L"\\" + name)});
    }
    return files;
}

// What the launcher adds to the working copy besides the master's files.
inline std::vector<std::wstring> launcherAddedFiles() {
    return {L"Java\\jre1.7.0_40\\lib\\deployment.config",
            L"Java\\jre1.7.0_40\\lib\\deployment.properties",
            L"Java\\jre1.7.0_40\\bin\\javaw.record.txt",
            L"Java\\jre1.7.0_40\\bin\\java.record.txt"};
}
