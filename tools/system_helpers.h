#pragma once
// Small helpers shared across the program: where the program and its
// installation live, reading a registry value named by a full key path,
// and whether a file exists.
#include <cstdint>
#include <string>

#include "platform/filesystem.h"

namespace quorv {

// The registry key naming the install folder is
// HKEY_LOCAL_MACHINE "SOFTWARE\\" + this name.
inline constexpr const char* kProductKeyName = "Quorvane 2";

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

enum class RegistryRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Splits a key path such as "HKEY_LOCAL_MACHINE\\SOFTWARE\\x": returns the
// root named before the first backslash (names compared exactly, letter case
// included; None for an unknown name) and replaces path with the remainder
// after that backslash (empty when there is none).
RegistryRoot ParseRegistryPath(std::string& path);

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

// True when a file-system search for the path finds an entry; an empty path
// gives false without searching.
bool FileExists(FileSystem& fs, const std::string& path);

}  // namespace quorv
