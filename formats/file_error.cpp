#include "formats/file_error.h"

namespace quorv {
namespace {

std::string ReplaceName(const char* text, const std::string& name) {
    std::string out(text);
    const std::size_t at = out.find("%1");
    if (at != std::string::npos) out.replace(at, 2, name);
    return out;
}

}  // namespace

std::string FileErrorText(FileError error, const std::string& name) {
    switch (error) {
    case FileError::None:
        return std::string();
    case FileError::EndOfFile:
        return ReplaceName("An attempt was made to access %1 past its end.", name);
    case FileError::DiskFull:
        return ReplaceName("Disk full while accessing %1.", name);
    case FileError::Generic:
        break;
    }
    return ReplaceName("An unknown error occurred while accessing %1.", name);
}

FileError FileErrorFromIo(IoResult result) {
    switch (result) {
    case IoResult::Ok:
        return FileError::None;
    case IoResult::DiskFull:
        return FileError::DiskFull;
    case IoResult::NotFound:
    case IoResult::AccessDenied:
    case IoResult::Failed:
        break;
    }
    return FileError::Generic;
}

SaveResult SaveResultFromIo(IoResult io, const std::string& path) {
    SaveResult result;
    switch (io) {
    case IoResult::Ok:
        break;
    case IoResult::NotFound:
    case IoResult::AccessDenied:
        // A file that cannot be opened is said so as any other failure:
        // a save that silently did nothing would look like a save.
        result.outcome = SaveResult::Outcome::NotOpened;
        result.errorText = FileErrorText(FileError::Generic, path);
        break;
    case IoResult::DiskFull:
    case IoResult::Failed:
        result.outcome = SaveResult::Outcome::WriteFailed;
        result.errorText = FileErrorText(FileErrorFromIo(io), path);
        break;
    }
    return result;
}

}  // namespace quorv
