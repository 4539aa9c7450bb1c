#pragma once
// Reading a whole file through an open handle.
#include "platform/Win32Result.h"

#include <windows.h>

#include <cstdint>
#include <string>

struct WholeFile {
    // Fails with the error of the size query or of a read: ERROR_HANDLE_EOF
    // when the file ended before its size, ERROR_FILE_TOO_LARGE when its size
    // is over the limit (nothing is read then).
    Win32Result result;
    std::uint64_t size = 0; // the size when the read began
    std::string bytes;      // what was read, also on failure
};

// The bytes from the handle's position up to the file's size, read in as
// many calls as the system needs.
WholeFile readWholeFile(HANDLE file, std::uint64_t maxSize = 0xFFFFFFFF);
