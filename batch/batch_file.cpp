#include "batch/batch_file.h"

namespace quorv {

std::string EncodeBatchFile(const BatchFile& batch) {
    ByteWriter writer;
    writer.WriteStringList(batch.masterList);
    writer.WriteStringList(batch.displayedList);
    writer.WriteStringList(batch.runRecord);
    writer.WriteStringList(batch.rules);
    writer.WriteInt32(batch.undoEnabled ? 1 : 0);
    return writer.Take();
}

BatchReadResult DecodeBatchFile(std::string_view bytes) {
    BatchReadResult result;
    ByteReader reader(bytes);
    std::vector<std::string>* const lists[] = {&result.batch.masterList, &result.batch.displayedList,
                                               &result.batch.runRecord, &result.batch.rules};
    for (std::vector<std::string>* list : lists) {
        if (!reader.ReadStringList(*list)) {
            result.error = reader.error();
            return result;
        }
        ++result.fieldsRead;
    }
    std::int32_t undo = 0;
    if (!reader.ReadInt32(undo)) {
        result.error = reader.error();
        return result;
    }
    result.batch.undoEnabled = undo != 0;
    ++result.fieldsRead;
    return result;
}

BatchSaveResult SaveBatchFile(FileSystem& fs, const std::string& path, const BatchFile& batch) {
    BatchSaveResult result;
    const IoResult io = fs.WriteFile(path, EncodeBatchFile(batch));
    switch (io) {
    case IoResult::Ok:
        break;
    case IoResult::NotFound:
    case IoResult::AccessDenied:
        result.outcome = BatchSaveResult::Outcome::NotOpened;
        break;
    case IoResult::DiskFull:
    case IoResult::Failed:
        result.outcome = BatchSaveResult::Outcome::WriteFailed;
        result.errorText = FileErrorText(FileErrorFromIo(io), path);
        break;
    }
    return result;
}

BatchLoadResult LoadBatchFile(FileSystem& fs, const std::string& path) {
    BatchLoadResult result;
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return result;
    result.opened = true;
    result.read = DecodeBatchFile(bytes);
    result.errorText = FileErrorText(result.read.error, kUnnamedFile);
    return result;
}

}  // namespace quorv
