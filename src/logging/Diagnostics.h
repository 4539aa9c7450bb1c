#pragma once
// Messages about the logging itself. They go to standard error, never into
// the log, in the ANSI code page.
namespace tvs {

// Wide printf format in the Microsoft convention (%ls wide).
void writeDiagnostic(const wchar_t* format, ...);

} // namespace tvs
