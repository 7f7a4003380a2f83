#pragma once
// Files of the end-to-end cases: folders and files on the disk of the Wine
// prefix, and the program's own file formats written and read byte by byte.
// The driver links nothing of the program, so a case that writes a settings
// file or a batch file here also checks the format the program reads.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/files_win32.h"

namespace quorv::e2e {

// Paths here are in the ANSI code page; the file functions come from the
// test support library (which speaks UTF-16 to the system).
using test::Exists;
using test::HostToWindowsPath;
using test::IsFolder;
using test::MakeFolders;
using test::NamesIn;
using test::ReadBytes;
using test::RemoveTree;
using test::WriteBytes;

// The whole file, empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// The size of a file in bytes, -1 when it does not exist.
long long FileSize(const std::string& path);
// The text after the last backslash.
std::string NameOf(const std::string& path);

// ---- the program's file formats (little-endian records without a header)

std::string Int32Bytes(std::int32_t value);
// One string of a string list record: a 1-, 3- or 7-byte length and the bytes.
std::string LengthPrefixed(const std::string& text);
// A count (2 or 6 bytes) and the strings: the whole of a rule file.
std::string StringListRecord(const std::vector<std::string>& lines);

// The eleven fields of the settings file "Quorv.cfg", with the program's
// defaults.
struct SettingsRecord {
    bool caseSensitive = false;
    bool quickView = true;
    bool exclude = false;
    bool subdir = false;
    std::string lastFolder;
    std::string copyMoveFolder;
    bool shellMenu = false;
    int theme = 5;
    int width = 800;
    int height = 600;
    bool maximized = false;
};
std::string SettingsBytes(const SettingsRecord& settings);
// Reads a settings file written by the program (one-byte lengths, integers
// 0 or 1 for the boxes); false when the bytes are not exactly one record.
bool ParseSettings(const std::string& bytes, SettingsRecord& settings);

// The five fields of a batch file.
struct BatchRecord {
    std::vector<std::string> master;
    std::vector<std::string> displayed;
    std::vector<std::string> runRecord;
    std::vector<std::string> rules;
    bool undo = false;
};
std::string BatchBytes(const BatchRecord& batch);
// Reads a batch file of one-byte string lengths and 2-byte counts; false
// when the bytes are not exactly one record.
bool ParseBatch(const std::string& bytes, BatchRecord& batch);

// The handoff file "Quorv2.qv2": each path followed by CR LF.
std::string HandoffBytes(const std::vector<std::string>& paths);

}  // namespace quorv::e2e
