#include "StderrCapture.h"

#include "TestFiles.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

StderrCapture::StderrCapture() : m_file(tempDirectory() + L"\\" + uniqueName(L"stderr") + L".txt") {
    std::fflush(stderr);
    m_saved = _dup(2);
    int fd = _wopen(m_file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0) {
        _dup2(fd, 2);
        _close(fd);
    }
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    if (m_saved >= 0) {
        _dup2(m_saved, 2);
        _close(m_saved);
    }
    DeleteFileW(m_file.c_str());
}

std::string StderrCapture::text() const {
    std::fflush(stderr);
    std::string text = readFile(m_file);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}
