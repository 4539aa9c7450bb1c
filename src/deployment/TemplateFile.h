#pragma once
// The parts that the deployment.config and deployment.properties generators
// share: reading a template, substituting its placeholders, and the platform
// calls by which the output is written.
#include "platform/FileSystem.h"

#include <windows.h>
#include <string>
#include <vector>

// What a generator's generate did: the file it wrote, or why not and what
// the user is to be told about it.
struct GenerateResult {
    enum Status {
        written,
        templateNotRead,
        placeholderMissing,
        notWritten,
        // The runtime home has no UTF-8 form; error is the conversion's
        // error code, and the user is told of it in the system's words.
        notEncoded,
    };
    Status status = written;
    std::wstring path;                  // the written file
    std::vector<std::wstring> messages; // for the user, in order
    DWORD error = 0;
    explicit operator bool() const { return status == written; }
};

// The calls the generators make on their output file, and their wait between
// attempts to open a file that another process holds (templates and output
// alike). The system's calls by default; tests pass their own to
// produce what the platform cannot be made to do on demand.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual BOOL write(HANDLE file, const void* data, DWORD size, DWORD* written);
    virtual BOOL flush(HANDLE file);
    virtual void wait(DWORD milliseconds);

    WaitFunction waitFunction() {
        return [this](DWORD milliseconds) { wait(milliseconds); };
    }
};

FileCalls& systemFileCalls();

// Log texts of one template read. Each takes the template path as its first
// argument; shortRead takes the bytes read and the size after it, and
// closeFailed the last error.
struct TemplateReadTexts {
    const wchar_t* noPath;
    const wchar_t* opening;
    const wchar_t* openFailed;
    const wchar_t* readFailed;
    const wchar_t* shortRead;
    const wchar_t* closeFailed;
    const wchar_t* succeeded;
};

// Reads directory + "\" + fileName, sharing it with other readers and waiting
// while a writer holds it, and sets text to its bytes up to the first zero
// byte. Logs each step; text is unchanged when it returns false.
bool readTemplateFile(const std::wstring& directory, const wchar_t* fileName, const TemplateReadTexts& texts,
                      std::string& text, const WaitFunction& wait);

// Replaces every "%" + name + "%" in text by value and logs the count with
// "Replaced '%ls' %i times with '%ls' in " + outputName.
size_t replaceTemplateParameter(std::string& text, const std::string& name, const std::string& value,
                                const wchar_t* outputName);

// Log texts of one output write. Each takes the output path as its first
// argument; openFailed takes the last error next, shortWrite the bytes written
// and the length, closeFailed the last error.
struct OutputWriteTexts {
    const wchar_t* opening;
    const wchar_t* openFailed;
    const wchar_t* writeFailed;
    const wchar_t* shortWrite;
    const wchar_t* flushFailed;
    const wchar_t* closeFailed;
    const wchar_t* succeeded;
    // Whether a failed write call ends the step at once, before the length
    // check and the flush.
    bool stopAfterFailedWrite;
};

enum class OutputWrite {
    written,
    notOpened,
    writeFailed, // the write call failed and texts.stopAfterFailedWrite is set
    incomplete,  // short, failed or unflushed
};

// Creates path (waiting while another process holds it), writes text in one
// call, flushes and closes it, logging each step.
OutputWrite writeOutputFile(const std::wstring& path, const std::string& text, FileCalls& calls,
                            const OutputWriteTexts& texts);

// javaHome + "\lib\" + fileName in its long form.
std::wstring runtimeLibFile(const std::wstring& javaHome, const wchar_t* fileName);
