#include "batch/batch_file.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <string>

namespace quorv {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

BatchFile Sample() {
    BatchFile batch;
    batch.masterList = {"C:\\Photos\\a.jpg", "C:\\Photos\\b.jpg", "C:\\Photos\\c.png"};
    batch.displayedList = {"C:\\Photos\\b.jpg", "C:\\Photos\\a.jpg"};
    batch.runRecord = {"C:\\Photos\\001.jpg", "C:\\Photos\\002.jpg"};
    batch.rules = {"FILENAME PREFIX digit length:3", "FILEEXT LOWERCASE all"};
    batch.undoEnabled = true;
    return batch;
}

TEST(BatchFile, EmptyWindowIsTwelveBytes) {
    EXPECT_EQ(EncodeBatchFile(BatchFile{}), std::string(12, '\0'));
    BatchFile undo;
    undo.undoEnabled = true;
    EXPECT_EQ(EncodeBatchFile(undo), std::string(8, '\0') + Bytes({1, 0, 0, 0}));
}

TEST(BatchFile, FieldsAreWrittenInOrder) {
    BatchFile batch;
    batch.masterList = {"m"};
    batch.displayedList = {"d", "e"};
    batch.runRecord = {};
    batch.rules = {"r"};
    batch.undoEnabled = false;
    EXPECT_EQ(EncodeBatchFile(batch),
              Bytes({1, 0, 1, 'm', 2, 0, 1, 'd', 1, 'e', 0, 0, 1, 0, 1, 'r', 0, 0, 0, 0}));
}

TEST(BatchFile, RoundTrip) {
    const BatchFile batch = Sample();
    const BatchReadResult read = DecodeBatchFile(EncodeBatchFile(batch), SystemCodePage());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.fieldsRead, 5);
    EXPECT_TRUE(read.batch == batch);
    EXPECT_FALSE(read.undoMustBeDisabled());
}

TEST(BatchFile, ExtraBytesAreIgnoredAndAnyNonZeroEnablesUndo) {
    BatchFile batch = Sample();
    batch.undoEnabled = false;
    std::string bytes = EncodeBatchFile(batch);
    bytes[bytes.size() - 1] = 0x40;  // field 5 = 0x40000000
    bytes += "junk after the record";
    const BatchReadResult read = DecodeBatchFile(bytes, SystemCodePage());
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.batch.undoEnabled);
    EXPECT_EQ(read.batch.rules, batch.rules);
}

TEST(BatchFile, FaultInEveryPositionKeepsOnlyCompletedFields) {
    const BatchFile batch = Sample();
    const std::string bytes = EncodeBatchFile(batch);
    // Where each field ends.
    std::size_t ends[5];
    {
        std::size_t at = 0;
        const std::vector<std::string>* lists[] = {&batch.masterList, &batch.displayedList,
                                                   &batch.runRecord, &batch.rules};
        for (int i = 0; i < 4; ++i) {
            at += EncodeStringList(*lists[i]).size();
            ends[i] = at;
        }
        ends[4] = at + 4;
        ASSERT_EQ(ends[4], bytes.size());
    }
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const BatchReadResult read = DecodeBatchFile(std::string_view(bytes).substr(0, cut), SystemCodePage());
        EXPECT_EQ(read.error, FileError::EndOfFile);
        int expected = 0;
        while (expected < 5 && ends[expected] <= cut) ++expected;
        EXPECT_EQ(read.fieldsRead, expected);
        EXPECT_EQ(read.masterListRead(), expected >= 1);
        if (read.masterListRead()) {
            EXPECT_EQ(read.batch.masterList, batch.masterList);
        }
        EXPECT_EQ(read.runRecordRead(), expected >= 3);
        if (read.runRecordRead()) {
            EXPECT_EQ(read.batch.runRecord, batch.runRecord);
        }
        EXPECT_EQ(read.undoMustBeDisabled(), expected >= 3);
        EXPECT_FALSE(read.batch.undoEnabled);
        EXPECT_EQ(FileErrorText(read.error, kUnnamedFile),
                  "An attempt was made to access an unnamed file past its end.");
    }
}

TEST(BatchFile, MalformedLengthStopsWithTheUnknownError) {
    // Field 1 complete, field 2 holds an 8-byte length beyond 31 bits.
    const std::string bytes = Bytes({1, 0, 1, 'a', 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                     0, 0, 0, 0, 1, 0, 0, 0});
    const BatchReadResult read = DecodeBatchFile(bytes, SystemCodePage());
    EXPECT_EQ(read.error, FileError::Generic);
    EXPECT_EQ(read.fieldsRead, 1);
    EXPECT_EQ(read.batch.masterList, std::vector<std::string>{"a"});
}

TEST(BatchFile, HostileCountInALaterFieldCostsNothing) {
    // Field 3 claims four billion entries.
    const std::string bytes = Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 'x'});
    const BatchReadResult read = DecodeBatchFile(bytes, SystemCodePage());
    EXPECT_EQ(read.error, FileError::EndOfFile);
    EXPECT_EQ(read.fieldsRead, 2);
    EXPECT_LE(read.batch.runRecord.capacity(), 16u);
}

}  // namespace
}  // namespace quorv
