#pragma once
// The helpers that ask the running system, defined by the platform
// library: reading a registry value named by a full key path, where the
// program and its installation live, and the running program's error log.
// The core never calls these.
#include <cstdint>
#include <string>

#include "platform/system_helpers.h"

namespace quorv {

// Registry value types, with the numbers Windows gives them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Registry error codes used by the helpers (Windows numbers).
inline constexpr long kRegErrorSuccess = 0;
inline constexpr long kRegErrorFileNotFound = 2;
inline constexpr long kRegUnknownRoot = -1;

// Reads a registry value. data receives the value's bytes; a REG_SZ value is
// cut at its first zero byte. type receives the value type and size the
// number of bytes the registry held. Returns the system's registry error
// code (0 for success), or -1 when the root name is unknown. Outside
// Windows there is no registry: every known root gives "file not found".
long RegReadValue(const std::string& keyPath, const std::string& valueName, std::string& data,
                  std::uint32_t& type, std::uint32_t& size);

// The folder of the running executable, ending with the separator; any
// length (no fixed-size buffer). Empty when it cannot be found.
std::string GetProgramFolder();

// The default value of HKEY_LOCAL_MACHINE "SOFTWARE\\" + name followed by
// the separator; empty when the key or value is missing or empty.
std::string GetInstallFolder(const std::string& productKeyName);

// The folder of the error log: the install folder, or the program folder
// when the install folder is empty.
std::string ErrorLogFolder();

// Formats a message and appends it to the error log of the running program
// (the real file system, clock and code page). Never reports a failure.
void WriteErrorLog(const char* format, ...);

}  // namespace quorv
