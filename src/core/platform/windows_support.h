#pragma once

// What the Windows implementations of the platform layer share: UTF-8 paths made wide for
// the system's W calls and back, and the system's error codes as errno values, so that the
// messages built from them are the same as on POSIX systems.

#include <windows.h>

#include <string>
#include <string_view>

namespace verbanta::platform {

/// The UTF-8 text as UTF-16; empty (errno EINVAL) when it is not well-formed UTF-8.
std::wstring widen(std::string_view utf8);
/// The UTF-16 text as UTF-8; a lone surrogate becomes U+FFFD.
std::string narrow(std::wstring_view wide);

/// The errno value that says the same as the system error code.
int errnoFromWindows(DWORD error);
/// Sets errno from GetLastError() and returns false, for `return fail();`.
bool failWithLastError();

/// The system handle behind a handle number of this layer (a C runtime descriptor).
HANDLE systemHandle(int handle);
/// Gives the system handle a handle number (closed by _close); -1 when that fails.
int handleNumber(HANDLE handle, bool writable);

}  // namespace verbanta::platform
