#include "files/BoundedFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orna5 {
namespace {

class BoundedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/orna5-bounded-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string folder;
};

// A FIFO with no writer would block an ordinary open for read for ever; a
// device could be disturbed by being opened at all.
TEST_F(BoundedFileTest, OnlyRegularFilesAreOpened) {
    const std::string fifo = folder + "/pipe.ign";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        ReadFault fault;
    };
    for (const Case& c : {Case{fifo, ReadFault::NotRegular}, Case{folder, ReadFault::NotRegular},
                          Case{"/dev/null", ReadFault::NotRegular},
                          Case{folder + "/missing.ign", ReadFault::System}}) {
        const BoundedRead read = ReadBoundedFile(c.path);
        EXPECT_EQ(read.fault, c.fault) << c.path;
        EXPECT_TRUE(read.bytes.empty()) << c.path;
    }
    EXPECT_EQ(ReadBoundedFile(folder + "/missing.ign").error, ENOENT);
}

TEST_F(BoundedFileTest, SizeLimitIsInclusive) {
    const std::string atLimit = Write("a.ign", std::string(kMaxParameterFileBytes, 'x'));
    const std::string over = Write("b.ign", std::string(kMaxParameterFileBytes + 1, 'x'));
    EXPECT_EQ(ReadBoundedFile(atLimit).bytes.size(), kMaxParameterFileBytes);
    EXPECT_EQ(ReadBoundedFile(over).fault, ReadFault::TooLarge);
    EXPECT_EQ(ReadBoundedFile(Write("c.ign", "12345"), 4).fault, ReadFault::TooLarge);
    EXPECT_EQ(ReadBoundedFile(Write("d.ign", "1234"), 4).bytes, "1234");
}

// The limit bounds the read, it is not a buffer: a small file read with a
// limit no memory could hold comes back whole, and a file streamed in
// pieces comes back in the same bytes.
TEST_F(BoundedFileTest, MemoryFollowsTheFileNotTheLimit) {
    const std::size_t huge = std::size_t{1} << 50;
    const std::string small = Write("e.csv", "time,rpm\n");
    const BoundedRead read = ReadBoundedFile(small, huge);
    EXPECT_TRUE(read.Ok());
    EXPECT_EQ(read.bytes, "time,rpm\n");
    std::string big(300 * 1024, 'x');
    for (std::size_t i = 0; i < big.size(); i += 97)
        big[i] = '\n';
    std::string streamed;
    std::size_t pieces = 0;
    EXPECT_TRUE(StreamBoundedFile(Write("f.csv", big), huge, [&](const char* data, std::size_t n) {
                    streamed.append(data, n);
                    ++pieces;
                }).Ok());
    EXPECT_EQ(streamed, big);
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(
        StreamBoundedFile(Write("g.csv", big), big.size() - 1, [](const char*, std::size_t) {})
            .fault,
        ReadFault::TooLarge);
}

TEST_F(BoundedFileTest, LoadChangesTheImageOnlyForAParameterFile) {
    ParameterImage image{};
    image[field::baseAdvance] = 7;
    const ParameterImage before = image;
    LoadOutcome outcome = LoadParameterFile(Write("text.ign", "hello world\r\n"), image);
    EXPECT_EQ(outcome.status, LoadStatus::UnmatchedVersion);
    EXPECT_EQ(image, before);
    outcome = LoadParameterFile(folder, image);
    EXPECT_EQ(outcome.status, LoadStatus::OpenError);
    EXPECT_EQ(outcome.read.fault, ReadFault::NotRegular);
    EXPECT_EQ(image, before);
    outcome = LoadParameterFile(Write("ok.ign", "KAMBRIX_KEY 54\r\nBASE_ADV 12\r\n"), image);
    EXPECT_EQ(outcome.status, LoadStatus::Loaded);
    EXPECT_EQ(image[field::baseAdvance], 12);
}

} // namespace
} // namespace orna5
