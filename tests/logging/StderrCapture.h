#pragma once
// Sends the process's standard error to a file for the life of the object.
#include <string>

class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written to standard error so far, line ends as LF.
    std::string text() const;

private:
    std::wstring m_file;
    int m_saved = -1;
};
