// Reading the launcher's settings files.
#include "DeploymentTesting.h"
#include "deployment/LauncherSettings.h"

#include <sstream>

using S = LauncherSettings;

// A column of settings-rows.txt without its outer spaces and with its escapes resolved.
static std::string rowColumn(const std::string& line, size_t begin, size_t end) {
    while (begin < end && line[begin] == ' ') ++begin;
    while (end > begin && line[end - 1] == ' ') --end;
    std::string bytes;
    for (size_t i = begin; i < end; ++i) {
        const char c = line[i] == '\\' && i + 1 < end ? line[++i] : 0;
        if (c == 'x') bytes += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16)), i += 2;
        else bytes += !c ? line[i] : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
    }
    return bytes;
}

static std::vector<std::string> rowColumns(const std::string& line) {
    std::vector<std::string> columns;
    for (size_t begin = 0, bar; begin <= line.size(); begin = bar + 1) {
        bar = std::min(line.find('|', begin), line.size());
        columns.push_back(rowColumn(line, begin, bar));
    }
    return columns;
}

// The rows that the settings window's tests read too.
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
        const std::string read = c[2] == "value"  ? settings.getValue(c[1])
                                 : c[2] == "string" ? settings.getString(c[1], c[3])
                                 : c[2] == "int"    ? std::to_string(settings.getInt(c[1], std::stoi(c[3])))
                                 : settings.getBool(c[1], c[3] == "true") ? "true" : "false";
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
    EXPECT_EQ(settings.getInt(S::proxySelection, 3), 3);
    ASSERT_TRUE(writeFile(path, ""));
    EXPECT_FALSE(settings.getBool(S::doNotRunUpdater, false));
    EXPECT_EQ(settings.getString(S::overrideAppcastURL, "d"), "d");
    ASSERT_TRUE(writeFile(path, "proxySelection=1\n"));
    {
        handles::File reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(LauncherSettings(path, [](DWORD) { FAIL() << "another reader blocks nothing"; }).getInt(S::proxySelection, 0), 1);
    }
    handles::Process holder = holdFile(path, 3000);
    ASSERT_TRUE(holder.valid());
    std::vector<DWORD> waits;
    EXPECT_EQ(LauncherSettings(path, [&](DWORD ms) { waits.push_back(ms); }).getInt(S::proxySelection, 0), 0);
    EXPECT_EQ(waits, std::vector<DWORD>(60, 1000)) << "a writer is waited for 60 times a second";
    EXPECT_EQ(settings.getInt(S::proxySelection, 0), 1) << "read once released";
    ASSERT_TRUE(writeFile(path, "proxySelection=2\n"));
    EXPECT_EQ(settings.getInt(S::proxySelection, 0), 1) << "and not read again";
    EXPECT_EQ(log.text(), file + L" not available at this time, code 2\n" + file + L" has no data\n" + file +
                              L" has no data\n" + file + L" not available at this time, code 32\n");
    EXPECT_EQ(WaitForSingleObject(holder.get(), 0), WAIT_OBJECT_0) << "the real wait outlasted the writer";
}
