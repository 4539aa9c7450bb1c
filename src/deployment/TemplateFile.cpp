#include "deployment/TemplateFile.h"

#include "deployment/ReplaceAll.h"
#include "logging/Logger.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"
#include "platform/Text.h"
#include "platform/WholeFile.h"

#include <cstring>

BOOL FileCalls::write(HANDLE file, const void* data, DWORD size, DWORD* written) {
    return WriteFile(file, data, size, written, nullptr);
}

BOOL FileCalls::flush(HANDLE file) { return FlushFileBuffers(file); }

void FileCalls::wait(DWORD milliseconds) { Sleep(milliseconds); }

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

namespace {

// False (logged) when a read fails or the file comes back short.
bool readLoggedFile(HANDLE file, const std::wstring& path, const TemplateReadTexts& texts, std::string& bytes) {
    tvs::Logger& log = tvs::Logger::getInstance();
    WholeFile whole = readWholeFile(file);
    if (!whole.result && whole.result.error() != ERROR_HANDLE_EOF) log.log(texts.readFailed, path.c_str());
    if (whole.bytes.size() != whole.size)
        log.log(texts.shortRead, path.c_str(), static_cast<unsigned>(whole.bytes.size()),
                static_cast<unsigned>(whole.size));
    bytes = std::move(whole.bytes);
    return static_cast<bool>(whole.result);
}

} // namespace

bool readTemplateFile(const std::wstring& directory, const wchar_t* fileName, const TemplateReadTexts& texts,
                      std::string& text, const WaitFunction& wait) {
    tvs::Logger& log = tvs::Logger::getInstance();
    if (directory.empty()) {
        log.log(texts.noPath);
        return false;
    }
    const std::wstring path = getLongPath(directory + L"\\" + fileName);
    log.log(texts.opening, path.c_str());

    handles::File file(openFileWaiting(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, wait));
    if (!file) {
        log.log(texts.openFailed, path.c_str());
        return false;
    }
    std::string bytes;
    const bool ok = readLoggedFile(file.get(), path, texts, bytes);
    if (!file.close()) log.log(texts.closeFailed, path.c_str(), static_cast<unsigned>(GetLastError()));
    if (!ok) return false;

    log.log(texts.succeeded, path.c_str());
    text.assign(bytes.c_str());
    return true;
}

namespace {

OutputWrite writeAndFlush(HANDLE file, const std::wstring& path, const std::string& text, FileCalls& calls,
                          const OutputWriteTexts& texts) {
    tvs::Logger& log = tvs::Logger::getInstance();
    const DWORD length = static_cast<DWORD>(text.size());
    DWORD written = 0;
    bool ok = true;
    if (!calls.write(file, text.data(), length, &written)) {
        log.log(texts.writeFailed, path.c_str());
        if (texts.stopAfterFailedWrite) return OutputWrite::writeFailed;
        ok = false;
    }
    if (written != length) {
        log.log(texts.shortWrite, path.c_str(), static_cast<unsigned>(written), static_cast<unsigned>(length));
        ok = false;
    }
    if (!calls.flush(file)) {
        log.log(texts.flushFailed, path.c_str());
        ok = false;
    }
    return ok ? OutputWrite::written : OutputWrite::incomplete;
}

} // namespace

OutputWrite writeOutputFile(const std::wstring& path, const std::string& text, FileCalls& calls,
                            const OutputWriteTexts& texts) {
    tvs::Logger& log = tvs::Logger::getInstance();
    log.log(texts.opening, path.c_str());
    handles::File file(openFileWaiting(path, GENERIC_WRITE, 0, CREATE_ALWAYS, calls.waitFunction()));
    if (!file) {
        log.log(texts.openFailed, path.c_str(), static_cast<int>(GetLastError()));
        return OutputWrite::notOpened;
    }
    const OutputWrite outcome = writeAndFlush(file.get(), path, text, calls, texts);
    if (!file.close()) log.log(texts.closeFailed, path.c_str(), static_cast<unsigned>(GetLastError()));
    if (outcome == OutputWrite::written) log.log(texts.succeeded, path.c_str());
    return outcome;
}

size_t replaceTemplateParameter(std::string& text, const std::string& name, const std::string& value,
                                const wchar_t* outputName) {
    const std::string key = "%" + name + "%";
    const size_t count = replaceAll(text, key, value);
    const std::wstring format = std::wstring(L"Replaced '%ls' %i times with '%ls' in ") + outputName;
    tvs::Logger::getInstance().log(format.c_str(), fromAnsi(key).c_str(), static_cast<int>(count),
                                   fromAnsi(value).c_str());
    return count;
}

std::wstring runtimeLibFile(const std::wstring& javaHome, const wchar_t* fileName) {
    return getLongPath(javaHome + L"\\lib\\" + fileName);
}
