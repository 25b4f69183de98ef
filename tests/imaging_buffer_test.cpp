// GlobalBuffer: global memory with a stream on it, opened on data or empty.
#include <gtest/gtest.h>

#include "shellutil/global_buffer.h"

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> Sequence(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i * 7);
    return bytes;
}

TEST(GlobalBuffer, OpenedOnDataHoldsACopyTheStreamReadsFromItsStart) {
    const std::vector<std::uint8_t> data = Sequence(10, 3);
    GlobalBuffer buffer;
    IStream* stream = buffer.Open(data);
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ(stream, buffer.Stream());
    EXPECT_EQ(10u, buffer.Size());
    EXPECT_EQ(data, buffer.GetBytes());

    std::vector<std::uint8_t> read(16, 0);
    ULONG got = 0;
    ASSERT_TRUE(SUCCEEDED(stream->Read(read.data(), 16, &got)));
    EXPECT_EQ(10u, got);
    read.resize(got);
    EXPECT_EQ(data, read);
}

TEST(GlobalBuffer, OpenedEmptyHasNoBytesUntilTheStreamIsWritten) {
    GlobalBuffer buffer;
    IStream* stream = buffer.Open();
    ASSERT_NE(nullptr, stream);
    EXPECT_TRUE(buffer.GetBytes().empty());
    EXPECT_EQ(0u, buffer.Size());

    const std::vector<std::uint8_t> data = Sequence(100, 11);
    ULONG written = 0;
    ASSERT_EQ(S_OK, stream->Write(data.data(), 100, &written));
    EXPECT_EQ(100u, written);
    const std::vector<std::uint8_t> bytes = buffer.GetBytes();
    EXPECT_EQ(buffer.Size(), bytes.size());
    ASSERT_GE(bytes.size(), 100u);
    EXPECT_EQ(data, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 100));
}

TEST(GlobalBuffer, GetBytesTakesTheWholeBlockWhateverTheStreamPosition) {
    GlobalBuffer buffer;
    const std::vector<std::uint8_t> data = Sequence(40, 1);
    IStream* stream = buffer.Open(data);
    ASSERT_NE(nullptr, stream);
    LARGE_INTEGER move;
    move.QuadPart = 25;
    ASSERT_EQ(S_OK, stream->Seek(move, STREAM_SEEK_SET, nullptr));
    EXPECT_EQ(data, buffer.GetBytes());
}

TEST(GlobalBuffer, OpeningAgainReleasesTheFirstStreamAndBlock) {
    struct Case {
        const char* name;
        bool firstOnData;
    } cases[] = {{"first opened on data", true}, {"first opened empty", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GlobalBuffer buffer;
        IStream* first = c.firstOnData ? buffer.Open(Sequence(10, 0)) : buffer.Open();
        ASSERT_NE(nullptr, first);
        first->AddRef();  // keeps the first stream alive to count its references
        IStream* second = buffer.Open(Sequence(5, 9));
        ASSERT_NE(nullptr, second);
        EXPECT_NE(first, second);
        EXPECT_EQ(0u, first->Release()) << "the buffer still held the first stream";
        EXPECT_EQ(Sequence(5, 9), buffer.GetBytes());
    }
}

TEST(GlobalBuffer, FreeLeavesNothingAndCanBeRepeated) {
    GlobalBuffer buffer;
    ASSERT_NE(nullptr, buffer.Open(Sequence(8, 2)));
    buffer.Free();
    EXPECT_EQ(nullptr, buffer.Stream());
    EXPECT_EQ(0u, buffer.Size());
    EXPECT_TRUE(buffer.GetBytes().empty());
    buffer.Free();
    EXPECT_EQ(nullptr, buffer.Stream());
}

TEST(GlobalBuffer, NeverOpenedHoldsNothing) {
    GlobalBuffer buffer;
    EXPECT_EQ(nullptr, buffer.Stream());
    EXPECT_EQ(0u, buffer.Size());
    EXPECT_TRUE(buffer.GetBytes().empty());
}

TEST(GlobalBuffer, OpenedOnNoBytesGivesAnEmptyStream) {
    GlobalBuffer buffer;
    IStream* stream = buffer.Open(std::vector<std::uint8_t>{});
    ASSERT_NE(nullptr, stream);
    EXPECT_TRUE(buffer.GetBytes().empty());
    std::uint8_t byte = 0;
    ULONG got = 1;
    stream->Read(&byte, 1, &got);
    EXPECT_EQ(0u, got);
}

}  // namespace
