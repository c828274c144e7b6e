#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/IncludedFiles.h"

namespace vexal {
namespace {

TEST(IncludedFileNames, SplitAtSemicolonsSkippingEmptyPieces) {
    struct Case {
        std::string list;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", {}},
        {";;", {}},
        {"a.jar", {"a.jar"}},
        {"a.jar;b.dll", {"a.jar", "b.dll"}},
        {";a.jar;;b.dll;", {"a.jar", "b.dll"}},
        {"with blank.txt; lead", {"with blank.txt", " lead"}},
    };
    for (const auto& c : cases) EXPECT_EQ(includedFileNames(c.list), c.names) << c.list;
}

TEST(IncludedFileNames, OnlyPlainNamesInsideTheDirectoryPass) {
    const char* const plain[] = {"app.jar", "a", "lib-1.2.3.dll", "caf\xE9.txt", "console.txt",
                                 "com0", "COM10", "nulx", ".hidden", "x.y.z"};
    for (const char* name : plain) EXPECT_EQ(includedFileNameProblem(name), nullptr) << name;

    const char* const refused[] = {"", "..", ".", "..\\evil.txt", "../evil.txt", "a\\b", "a/b", "c:evil.txt",
                                   "C:\\windows\\evil.dll", "\\\\server\\share\\x", "\\rooted", "file.txt:stream",
                                   "a..b", "...", "x;y", "a*b", "what?", "pipe|", "quote\"", "<x>", "tab\tname",
                                   "trailing.", "trailing ", "CON", "nul", "nul.txt", "Aux .log", "com1", "LPT9.dat",
                                   "conin$", "CONOUT$"};
    for (const char* name : refused) EXPECT_NE(includedFileNameProblem(name), nullptr) << name;
}

// A source that hands out at most `limit` bytes per read and counts reads.
class ChunkySource : public MemorySource {
public:
    ChunkySource(std::string bytes, std::size_t limit) : MemorySource(std::move(bytes)), limit_(limit) {}
    std::size_t read(void* destination, std::size_t count) override {
        ++reads;
        requests.push_back(count);
        return MemorySource::read(destination, count < limit_ ? count : limit_);
    }
    int reads = 0;
    std::vector<std::size_t> requests;

private:
    std::size_t limit_;
};

// A sink that takes at most `limit` bytes per write and fails after `failAfter`
// bytes in total.
class StringSink : public ByteSink {
public:
    explicit StringSink(std::size_t limit = SIZE_MAX, std::size_t failAfter = SIZE_MAX)
        : limit_(limit), failAfter_(failAfter) {}
    std::size_t write(const void* data, std::size_t count) override {
        if (bytes.size() >= failAfter_) return 0;
        std::size_t n = count < limit_ ? count : limit_;
        bytes.append(static_cast<const char*>(data), n);
        return n;
    }
    std::string bytes;

private:
    std::size_t limit_, failAfter_;
};

std::string allByteValues(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

std::string masked(std::string bytes) {
    for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) ^ kIncludedFileMask);
    return bytes;
}

TEST(CopyRecordData, UnmasksAndCopiesExactlyTheRecord) {
    struct Case {
        const char* name;
        std::size_t size;
        std::size_t readLimit;
        std::size_t writeLimit;
        int reads;  // reads the copy needs: no extra read after the last byte
    };
    const Case cases[] = {
        {"one byte", 1, SIZE_MAX, SIZE_MAX, 1},
        {"just under a chunk", kCopyChunk - 1, SIZE_MAX, SIZE_MAX, 1},
        {"eight-byte words and a tail", 8 * 1000 + 5, SIZE_MAX, SIZE_MAX, 1},
        {"exactly two chunks", 2 * kCopyChunk, SIZE_MAX, SIZE_MAX, 2},
        {"two chunks and one byte", 2 * kCopyChunk + 1, SIZE_MAX, SIZE_MAX, 3},
        {"short reads", 10000, 3000, SIZE_MAX, 4},
        {"short reads of odd sizes", 10000, 3001, SIZE_MAX, 4},
        {"partial writes", 2 * kCopyChunk, SIZE_MAX, 1000, 2},
    };
    for (const auto& c : cases) {
        const std::string content = allByteValues(c.size);
        ChunkySource source(masked(content) + "next record", c.readLimit);
        StringSink sink(c.writeLimit);
        EXPECT_EQ(copyRecordData(source, sink, c.size, true), CopyResult::Done) << c.name;
        EXPECT_EQ(sink.bytes, content) << c.name;
        EXPECT_EQ(source.position(), c.size) << c.name;
        EXPECT_EQ(source.reads, c.reads) << c.name;
        for (std::size_t request : source.requests) EXPECT_LE(request, kCopyChunk) << c.name;
    }
}

TEST(CopyRecordData, WithoutTheFlagBytesPassUnchanged) {
    const std::string content = allByteValues(300);
    MemorySource source(content);
    StringSink sink;
    EXPECT_EQ(copyRecordData(source, sink, content.size(), false), CopyResult::Done);
    EXPECT_EQ(sink.bytes, content);
}

TEST(CopyRecordData, FailuresStopTheCopy) {
    {
        MemorySource source(std::string(9000, 'x'));
        StringSink sink;
        EXPECT_EQ(copyRecordData(source, sink, 9001, true), CopyResult::ReadFailed);
        EXPECT_EQ(sink.bytes.size(), 9000u);
    }
    {
        MemorySource source(std::string(2 * kCopyChunk + 3000, 'x'));
        StringSink sink(SIZE_MAX, kCopyChunk);
        EXPECT_EQ(copyRecordData(source, sink, 2 * kCopyChunk + 3000, true), CopyResult::WriteFailed);
        EXPECT_EQ(source.position(), 2 * kCopyChunk);
    }
    {
        MemorySource source("");
        StringSink sink;
        EXPECT_EQ(copyRecordData(source, sink, 0, true), CopyResult::Done);
    }
}

TEST(SourceHolds, ComparesWithWhatFollowsThePosition) {
    MemorySource source(std::string(100, 'x'));
    source.seek(40);
    EXPECT_TRUE(sourceHolds(source, 60));
    EXPECT_FALSE(sourceHolds(source, 61));
    EXPECT_FALSE(sourceHolds(source, 0x7FFFFFFF));
    source.seek(200);
    EXPECT_FALSE(sourceHolds(source, 0));
}

}  // namespace
}  // namespace vexal
