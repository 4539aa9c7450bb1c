#include "TestFiles.h"
#include "logging/LogDirectory.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>

using tvs::findLogDirectory;

namespace {

const std::wstring kBelow = L"\\Tavisto\\Tavisto Convoca Launcher\\logs";

class FakeSource : public tvs::BaseDirectorySource {
public:
    std::wstring local;
    std::map<std::wstring, std::wstring> variables;
    std::wstring temp;
    std::map<std::wstring, std::wstring> longForms;

    std::wstring localAppData() const override { return local; }
    std::wstring environment(const wchar_t* name) const override {
        auto it = variables.find(name);
        return it == variables.end() ? L"" : it->second;
    }
    std::wstring tempPath() const override { return temp; }
    std::wstring longPath(const std::wstring& path) const override {
        auto it = longForms.find(path);
        return it == longForms.end() ? L"" : it->second;
    }
};

FakeSource everything() {
    FakeSource s;
    s.local = L"C:\\Local";
    s.variables = {{L"HOME", L"C:\\Home"}, {L"USERPROFILE", L"C:\\Profile"},
                   {L"HOMEDRIVE", L"D:"}, {L"HOMEPATH", L"\\Users\\me"}};
    s.temp = L"C:\\Temp\\";
    return s;
}

} // namespace

TEST(LogDirectory, CandidatesAreTakenInOrder) {
    FakeSource s = everything();
    EXPECT_EQ(findLogDirectory(s), L"C:\\Local" + kBelow);
    s.local.clear();
    EXPECT_EQ(findLogDirectory(s), L"C:\\Home" + kBelow);
    s.variables.erase(L"HOME");
    EXPECT_EQ(findLogDirectory(s), L"C:\\Profile" + kBelow);
    s.variables[L"USERPROFILE"] = L"";
    EXPECT_EQ(findLogDirectory(s), L"D:\\Users\\me" + kBelow);
    s.variables.erase(L"HOMEPATH");
    EXPECT_EQ(findLogDirectory(s), L"C:\\Temp\\" + kBelow); // two backslashes in a row
    s.temp.clear();
    EXPECT_EQ(findLogDirectory(s), L"");
}

TEST(LogDirectory, HomeDriveCountsOnlyWithHomePath) {
    FakeSource s;
    s.variables = {{L"HOMEDRIVE", L"D:"}};
    s.temp = L"C:\\Temp\\";
    EXPECT_EQ(findLogDirectory(s), L"C:\\Temp\\" + kBelow);
    s.variables = {{L"HOMEPATH", L"\\Users\\me"}};
    EXPECT_EQ(findLogDirectory(s), L"C:\\Temp\\" + kBelow);
}

TEST(LogDirectory, VariablesOf4096CharactersOrMoreAreIgnored) {
    FakeSource s = everything();
    s.local.clear();
    s.variables[L"HOME"] = L"C:\\" + std::wstring(4093, L'h'); // 4,096 characters
    EXPECT_EQ(findLogDirectory(s), L"C:\\Profile" + kBelow);
    s.variables[L"HOME"] = L"C:\\" + std::wstring(4092, L'h'); // 4,095 characters
    EXPECT_EQ(findLogDirectory(s), s.variables[L"HOME"] + kBelow);
}

TEST(LogDirectory, TheTemporaryDirectoryIsTakenInItsLongFormWhenThatFits) {
    FakeSource s;
    s.temp = L"C:\\PROGRA~1\\Temp\\";
    EXPECT_EQ(findLogDirectory(s), L"C:\\PROGRA~1\\Temp\\" + kBelow);
    s.longForms[s.temp] = L"C:\\Program Files\\Temp\\";
    EXPECT_EQ(findLogDirectory(s), L"C:\\Program Files\\Temp\\" + kBelow);
    s.longForms[s.temp] = L"C:\\" + std::wstring(4091, L'x'); // 4,094 characters
    EXPECT_EQ(findLogDirectory(s), s.longForms[s.temp] + kBelow);
    s.longForms[s.temp] = L"C:\\" + std::wstring(4092, L'x'); // 4,095 characters
    EXPECT_EQ(findLogDirectory(s), s.temp + kBelow);
}

TEST(LogDirectory, TheSystemSourceReadsTheShellFolderAndTheEnvironment) {
    tvs::SystemBaseDirectories system;
    std::wstring local = shellFolder(CSIDL_LOCAL_APPDATA);
    ASSERT_FALSE(local.empty());
    EXPECT_EQ(system.localAppData(), local);
    EXPECT_EQ(findLogDirectory(system), local + kBelow);

    ASSERT_TRUE(SetEnvironmentVariableW(L"CONVOCA_TEST_VARIABLE", L"value"));
    EXPECT_EQ(system.environment(L"CONVOCA_TEST_VARIABLE"), L"value");
    SetEnvironmentVariableW(L"CONVOCA_TEST_VARIABLE", nullptr);
    EXPECT_EQ(system.environment(L"CONVOCA_TEST_VARIABLE"), L"");

    std::wstring temp = system.tempPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_FALSE(system.longPath(temp).empty());
    EXPECT_EQ(system.longPath(temp + L"no such folder"), L"");
}
