#pragma once
// The handoff file "Quorv2.qv2": the paths the user selected in the file
// manager, each followed by "\r\n", written by the context-menu extension
// and consumed by the main program at start-up.
#include <string>
#include <string_view>
#include <vector>

#include "formats/handoff_format.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

// The entries of the file: the text up to the first zero byte, split at
// each "\r\n"; text after the last "\r\n" is not an entry; empty entries
// are kept. Each entry becomes narrow text of the code page as every
// stored text does (FromStored): the extension writes UTF-8, and a file an
// earlier extension wrote in the legacy ANSI code page still reads.
std::vector<std::string> DecodeHandoff(std::string_view bytes, const CodePage& codePage);

// Writes the handoff file, replacing whatever an earlier, unread one held
// (old bytes must never turn into further entries). False when it could not
// be written.
bool WriteHandoffFile(FileSystem& fs, const std::string& path,
                      const std::vector<std::string>& entries);

// Reads the handoff file's entries; false (and no entries) when the file is
// missing or cannot be read.
bool ReadHandoffFile(FileSystem& fs, const CodePage& codePage, const std::string& path,
                     std::vector<std::string>& entries);

// Consumes the handoff file at start-up: its entries, and the file gone.
// The file is first moved aside under a name of its own ("Quorv2.qv2.taken",
// "…taken1", …) and read and deleted there, so that a selection the
// extension writes meanwhile starts a file of its own instead of being
// deleted unread with this one. When it cannot be moved aside (locked for a
// moment, or the folder is read-only), it is read and deleted in place, and
// a file that cannot be deleted is read again at the next start. Files moved
// aside at an earlier start whose deletion failed are read first, oldest
// first, and deleted too. False (and no entries) when there was nothing to
// read.
bool TakeHandoffFile(FileSystem& fs, const CodePage& codePage, const std::string& path,
                     std::vector<std::string>& entries);

// Deletes a file even when it is read-only, hidden or a system file: its
// attributes become normal first. False on every failure (missing file
// included); nothing is reported.
bool DeleteFileForced(FileSystem& fs, const std::string& path);

}  // namespace quorv
