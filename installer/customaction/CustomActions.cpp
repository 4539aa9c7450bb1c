// Custom actions of the Windows Installer package. PrepareAdminFile runs in
// the immediate phase: it checks the administrator's settings given as
// properties and works out the text of ConvocaLauncherAdmin.properties
// before anything is changed. ApplyAdminFile then writes (or, on removal,
// deletes) the file in the installation's script, and undoes that on
// rollback. NewMarkerValue makes the value of the runtime marker.
#include "AdminSettings.h"
#include "MsiSession.h"
#include "handles/Handles.h"

#include <objbase.h>

namespace {

using namespace msisession;
using adminsettings::Assignment;
using adminsettings::Setting;

const wchar_t* const kAdminFile = L"ConvocaLauncherAdmin.properties";
const int kTemplateResource = 1;

bool readFile(const std::wstring& path, std::string& bytes) {
    handles::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return true;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    handles::File file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The file as the package ships it: every setting with its default.
std::string templateText() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&templateText), &self);
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(kTemplateResource), MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(self, found)) : std::string();
}

// What ApplyAdminFile does, as its CustomActionData: "W" path LF text, or
// "D" path. The text travels byte for byte, one character per byte.
std::wstring writeData(const std::wstring& path, const std::string& bytes) {
    std::wstring data = L"W" + path + L"\n";
    for (unsigned char byte : bytes) data += wchar_t(byte);
    return data;
}
std::wstring deleteData(const std::wstring& path) { return L"D" + path; }

std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

// The settings given as properties, each checked; false after an error.
bool givenSettings(MSIHANDLE session, std::vector<Assignment>& given) {
    for (const Setting& setting : adminsettings::settings()) {
        const std::wstring name = fromUtf8(setting.property);
        const std::string value = toUtf8(property(session, name.c_str()));
        if (value.empty()) continue; // not given: the file keeps its value
        const std::string problem = adminsettings::checkValue(setting, value);
        if (!problem.empty()) {
            error(session, name + L"=\"" + fromUtf8(printable(value)) + L"\" is refused: " + fromUtf8(setting.key) +
                               L" " + fromUtf8(problem) + L". Nothing has been changed.");
            return false;
        }
        given.push_back({&setting, value});
    }
    return true;
}

} // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareAdminFile(MSIHANDLE session) {
    const std::wstring path = property(session, L"InstallFolder") + kAdminFile;
    std::string text;
    const bool existed = readFile(path, text);
    setProperty(session, L"RestoreAdminFile", existed ? writeData(path, text) : deleteData(path));
    if (property(session, L"REMOVE") == L"ALL") {
        setProperty(session, L"DeleteAdminFile", deleteData(path));
        return ERROR_SUCCESS;
    }
    if (!existed) text = templateText();
    std::vector<Assignment> given;
    if (!givenSettings(session, given)) return ERROR_INSTALL_FAILURE;
    std::string problem;
    if (!adminsettings::assign(text, given, problem)) {
        error(session, path + L" " + fromUtf8(problem) +
                           L". Correct the file, then install again. Nothing has "
                           L"been changed.");
        return ERROR_INSTALL_FAILURE;
    }
    for (const Assignment& assignment : given)
        log(session,
            std::wstring(kAdminFile) + L": " + fromUtf8(assignment.setting->key) + L"=" + fromUtf8(assignment.value));
    setProperty(session, L"WriteAdminFile", writeData(path, text));
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall ApplyAdminFile(MSIHANDLE session) {
    const std::wstring data = property(session, L"CustomActionData");
    const size_t lineEnd = data.find(L'\n');
    const bool write = !data.empty() && data[0] == L'W' && lineEnd != std::wstring::npos;
    const std::wstring path = data.substr(1, write ? lineEnd - 1 : std::wstring::npos);
    if (path.empty()) return ERROR_SUCCESS;
    std::string bytes, current;
    if (write) {
        for (size_t i = lineEnd + 1; i < data.size(); ++i) bytes += char(data[i]);
        if (readFile(path, current) && current == bytes) return ERROR_SUCCESS;
    }
    // A read-only file is the administrator's protection against other
    // programs; settings given to the installation overrule it.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool done = write ? writeFile(path, bytes) : DeleteFileW(path.c_str()) != 0;
    const DWORD failure = GetLastError();
    if (done || (!write && failure == ERROR_FILE_NOT_FOUND)) return ERROR_SUCCESS;
    error(session, std::wstring(write ? L"Cannot write " : L"Cannot delete ") + path + L" (error " +
                       std::to_wstring(failure) + L").");
    return ERROR_INSTALL_FAILURE;
}

// A new value at every installation makes each user's next start refresh the
// working copy of the runtime.
extern "C" __declspec(dllexport) UINT __stdcall NewMarkerValue(MSIHANDLE session) {
    GUID guid;
    wchar_t text[40] = L"";
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, 40)) return ERROR_INSTALL_FAILURE;
    setProperty(session, L"MARKERID", text);
    return ERROR_SUCCESS;
}
