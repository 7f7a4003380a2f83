#pragma once
// Small helpers that decide without asking the system: how a registry key
// path names its root, the product's key name, whether a file exists.
// The helpers that ask the running system (registry, program and install
// folders, the error log) are in tools/system_access.h.
#include <string>

#include "platform/filesystem.h"

namespace quorv {

// The registry key naming the install folder is
// HKEY_LOCAL_MACHINE "SOFTWARE\\" + this name.
inline constexpr const char* kProductKeyName = "Quorvane 2";

enum class RegistryRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Splits a key path such as "HKEY_LOCAL_MACHINE\\SOFTWARE\\x": returns the
// root named before the first backslash (names compared exactly, letter case
// included; None for an unknown name) and replaces path with the remainder
// after that backslash (empty when there is none).
RegistryRoot ParseRegistryPath(std::string& path);

// True when a file-system search for the path finds an entry; an empty path
// gives false without searching.
bool FileExists(FileSystem& fs, const std::string& path);

}  // namespace quorv
