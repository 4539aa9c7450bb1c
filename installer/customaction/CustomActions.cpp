// Custom actions of the Windows Installer package. PrepareAdminFile runs in
// the immediate phase: it checks the administrator's settings given as
// properties and works out the text of ConvocaLauncherAdmin.properties
// before anything is changed. ApplyAdminFile then writes (or, on removal,
// deletes) the file in the installation's script, and undoes that on
// rollback. NewMarkerValue makes the value of the runtime marker.
#include "AdminSettings.h"
#include "MsiSession.h"
#include "handles/Handles.h"
#include "platform/Names.h"
#include "platform/WholeFile.h"

#include <objbase.h>

namespace {

using namespace msisession;
using adminsettings::Assignment;
using adminsettings::Setting;

const int kTemplateResource = 1;
const LONGLONG kMaxFileSize = 1 << 20; // the file has a few kilobytes; this bound keeps reads whole
// Windows Installer's own reading of the sequence's condition: the custom
// action and the sequence agree on what a removal is.
const wchar_t* const kRemoval = L"REMOVE~=\"ALL\"";

enum class Read { done, missing, failed };

// Missing is a missing file or, at a first installation, a missing folder.
// Any other failure, or a read cut short, leaves the content unknown:
// failed, with the reason in failure.
Read readFile(const std::wstring& path, std::string& bytes, DWORD& failure) {
    handles::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        failure = GetLastError();
        return failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND ? Read::missing : Read::failed;
    }
    WholeFile whole = readWholeFile(file.get(), kMaxFileSize);
    failure = whole.result.error();
    if (!whole.result) return Read::failed;
    bytes = std::move(whole.bytes);
    return Read::done;
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

// What ApplyAdminFile does, as its CustomActionData: "W" path LF the bytes
// as hex digits (a property's value ends at a zero character), or "D" path.
// Empty leaves the file as it is.
const wchar_t kHexDigits[] = L"0123456789abcdef";
std::wstring writeData(const std::wstring& path, const std::string& bytes) {
    std::wstring data = L"W" + path + L"\n";
    for (unsigned char byte : bytes) data += {kHexDigits[byte >> 4], kHexDigits[byte & 15]};
    return data;
}
std::wstring deleteData(const std::wstring& path) { return L"D" + path; }

std::string fromHex(const std::wstring& digits) {
    const auto nibble = [](wchar_t c) { return c <= L'9' ? c - L'0' : c - L'a' + 10; };
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2) bytes += char(nibble(digits[i]) << 4 | nibble(digits[i + 1]));
    return bytes;
}

std::wstring printable(std::wstring text) {
    for (wchar_t& c : text)
        if (c < 0x20 || c == 0x7f) c = L'?';
    return text;
}

// The settings given as properties, each checked; false after an error.
bool givenSettings(MSIHANDLE session, std::vector<Assignment>& given) {
    for (const Setting& setting : adminsettings::settings()) {
        const std::wstring name = fromLatin1(setting.property), wide = property(session, name.c_str());
        if (wide.empty()) continue; // not given: the file keeps its value
        std::string value;
        const std::string problem = toLatin1(wide, value)
                                        ? adminsettings::checkValue(setting, value)
                                        : "must hold only characters of ISO 8859-1 (Western European)";
        if (!problem.empty()) {
            error(session, name + L"=\"" + printable(wide) + L"\" is refused: " + fromLatin1(setting.key) + L" " +
                               fromLatin1(problem) + L". Nothing has been changed.");
            return false;
        }
        given.push_back({&setting, value});
    }
    return true;
}

} // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareAdminFile(MSIHANDLE session) {
    const bool removal = MsiEvaluateConditionW(session, kRemoval) == MSICONDITION_TRUE;
    std::vector<Assignment> given;
    if (!removal && !givenSettings(session, given)) return ERROR_INSTALL_FAILURE;
    const std::wstring path = property(session, L"InstallFolder") + names::kAdminProperties;
    std::string text;
    DWORD failure = ERROR_SUCCESS;
    const Read read = readFile(path, text, failure);
    if (read == Read::failed) {
        error(session,
              L"Cannot read " + path + L" (error " + std::to_wstring(failure) + L"). Nothing has been changed.");
        return ERROR_INSTALL_FAILURE;
    }
    const bool existed = read == Read::done, latin1 = adminsettings::isLatin1Text(text);
    if (!latin1)
        log(session, path + L" holds a zero byte or starts with a UTF-16 byte order mark; it is left as it is.");
    setProperty(session, L"RestoreAdminFile", existed ? writeData(path, text) : deleteData(path));
    if (removal) {
        if (latin1) setProperty(session, L"DeleteAdminFile", deleteData(path));
        return ERROR_SUCCESS;
    }
    if (!existed) text = templateText();
    std::string problem;
    if (!adminsettings::assign(text, given, problem)) {
        error(session, path + L" " + fromLatin1(problem) +
                           L". Correct the file, then install again. Nothing has "
                           L"been changed.");
        return ERROR_INSTALL_FAILURE;
    }
    for (const Assignment& assignment : given)
        log(session, std::wstring(names::kAdminProperties) + L": " + fromLatin1(assignment.setting->key) + L"=" +
                         fromLatin1(assignment.value));
    setProperty(session, L"WriteAdminFile", writeData(path, text));
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall ApplyAdminFile(MSIHANDLE session) {
    const std::wstring data = property(session, L"CustomActionData");
    if (data.size() < 2) return ERROR_SUCCESS;
    const size_t lineEnd = data.find(L'\n');
    const bool write = data[0] == L'W' && lineEnd != std::wstring::npos;
    const std::wstring path = data.substr(1, write ? lineEnd - 1 : std::wstring::npos);
    std::string bytes, current;
    if (write) {
        bytes = fromHex(data.substr(lineEnd + 1));
        DWORD failure = ERROR_SUCCESS;
        if (readFile(path, current, failure) == Read::done && current == bytes) return ERROR_SUCCESS;
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
