#include "DeploymentTesting.h"
#include "deployment/LauncherSettings.h"

#include <sstream>

using S = LauncherSettings;

// A row of settings-rows.txt: its columns without their outer spaces, with their escapes resolved.
static std::vector<std::string> rowColumns(const std::string& line) {
    std::vector<std::string> columns;
    std::istringstream in(line + "|");
    for (std::string c; std::getline(in, c, '|');) {
        c.erase(0, c.find_first_not_of(' ')).erase(c.find_last_not_of(' ') + 1);
        std::string bytes;
        for (size_t i = 0; i < c.size(); ++i) {
            const char e = c[i] == '\\' && i + 1 < c.size() ? c[++i] : 0;
            if (e == 'x')
                bytes += static_cast<char>(std::stoi(c.substr(i + 1, 2), nullptr, 16)), i += 2;
            else
                bytes += !e ? c[i] : e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
        }
        columns.push_back(bytes);
    }
    return columns;
}

// The rows that the utility window's tests read too.
TEST(LauncherSettings, ReadsEverySharedRow) {
    std::istringstream rows(readFile(CONVOCA_TEST_BIN_DIR_WIN L"\\settings-rows.txt"));
    const TempDir dir;
    int count = 0;
    for (std::string line; std::getline(rows, line);) {
        if (line.find('|') == std::string::npos) continue;
        const std::vector<std::string> c = rowColumns(line);
        ASSERT_EQ(c.size(), 5u) << line;
        ASSERT_TRUE(writeFile(dir / L"s.properties", c[0]));
        LauncherSettings settings(dir / L"s.properties");
        const std::string read = c[2] == "value"    ? settings.getValue(c[1])
                                 : c[2] == "string" ? settings.getString(c[1], c[3])
                                 : c[2] == "int"    ? std::to_string(settings.getInt(c[1], std::stoi(c[3])))
                                 : settings.getBool(c[1], c[3] == "true") ? "true"
                                                                          : "false";
        EXPECT_EQ(read, c[4]) << line;
        ++count;
    }
    EXPECT_GT(count, 50);
}

TEST(LauncherSettings, UnreadableFilesGiveTheDefaultsAndLogEveryCall) {
    const TempDir dir;
    const std::wstring path = dir / L"s.properties", file = L"Utilities Window properties file " + path;
    LauncherSettings settings(path);
    const LogTail log;
    EXPECT_EQ(settings.getInt(S::kProxySelection, 3), 3);
    ASSERT_TRUE(writeFile(path, ""));
    EXPECT_FALSE(settings.getBool(S::kDoNotRunUpdater, false));
    ASSERT_TRUE(writeFile(path, "proxySelection=1\n"));
    handles::File reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, 0));
    const auto never = [](DWORD) { FAIL() << "another reader blocks nothing"; };
    EXPECT_EQ(LauncherSettings(path, never).getInt(S::kProxySelection, 0), 1);
    reader.reset();
    FileHold holder(path, 3000);
    ASSERT_TRUE(holder.held);
    std::vector<DWORD> waits;
    LauncherSettings waited(path, [&](DWORD ms) { waits.push_back(ms); });
    EXPECT_EQ(waited.getInt(S::kProxySelection, 0), 0);
    EXPECT_EQ(waits, std::vector<DWORD>(60, 1000)) << "a writer is waited for 60 times a second";
    EXPECT_EQ(settings.getInt(S::kProxySelection, 0), 1) << "read once released";
    ASSERT_TRUE(writeFile(path, "proxySelection=2\n"));
    EXPECT_EQ(settings.getInt(S::kProxySelection, 0), 1) << "and not read again";
    EXPECT_TRUE(waited.getInt(S::kProxySelection, 0) == 0 && waits.size() == 60) << "a wait that ran out stands";
    const std::wstring held = file + L" not available at this time, code 32\n";
    EXPECT_EQ(log.text(), file + L" not available at this time, code 2\n" + file + L" has no data\n" + held + held);
}
