#include "logging/LogDirectory.h"

#include "platform/Names.h"

namespace tvs {

std::wstring findLogDirectory(const BaseDirectorySource& source) {
    std::wstring base = findBaseDirectory(source);
    if (base.empty()) return base;
    return base + L"\\" + names::kSupportSubdirectory + L"\\logs";
}

} // namespace tvs
