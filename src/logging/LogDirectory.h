#pragma once
// Where the log files live: "<base>\Tavisto\Tavisto Convoca Launcher\logs".
#include "platform/BaseDirectory.h"

namespace tvs {

using ::BaseDirectorySource;
using ::SystemBaseDirectories;

// Empty when no base directory is usable.
std::wstring findLogDirectory(const BaseDirectorySource& source);

} // namespace tvs
