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

BatchReadResult DecodeBatchFile(std::string_view bytes, const CodePage& codePage, std::size_t* end) {
    BatchReadResult result;
    ByteReader reader(bytes, codePage);
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
    if (end) *end = reader.position();
    return result;
}

SaveResult SaveBatchFile(FileSystem& fs, const std::string& path, const BatchFile& batch) {
    return SaveResultFromIo(fs.WriteFile(path, EncodeBatchFile(batch)), path);
}

BatchLoadResult LoadBatchFile(FileSystem& fs, const std::string& path, const CodePage& codePage) {
    BatchLoadResult result;
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return result;
    result.opened = true;
    result.read = DecodeBatchFile(bytes, codePage);
    result.errorText = FileErrorText(result.read.error, kUnnamedFile);
    return result;
}

}  // namespace quorv
