// PosixFileSystem on real files: failures with their reasons, a full disk, and many writers
// appending to one history at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "posix/posix_services.h"

namespace qlok {
namespace {

namespace fs = std::filesystem;

class PosixFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qlok-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    bool AppendOnce(const std::string& path, const std::string& text) {
        std::string error;
        const std::unique_ptr<AppendFile> file = files_.OpenAppend(path, error);
        return file && file->Append(text);
    }

    fs::path dir_;
    posix::PosixFileSystem files_;
};

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

TEST_F(PosixFiles, FolderAndMissingFileAreNoFilesAndCannotBeRead) {
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir_.string(), "Is a directory"},
        {Path("missing.log"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(files_.FileExists(c.path)) << c.path;
        const ReadResult read = files_.ReadAll(c.path);
        EXPECT_FALSE(read.ok) << c.path;
        EXPECT_EQ(read.error, c.reason) << c.path;
        EXPECT_TRUE(read.data.empty()) << c.path;
    }
}

TEST_F(PosixFiles, AppendsKeepEarlierContentAndReadBackByteForByte) {
    const std::string path = Path("QLOK.log");
    ASSERT_TRUE(AppendOnce(path, "first\r\n"));
    ASSERT_TRUE(AppendOnce(path, std::string("\xe9t\xe9\0x\r\n", 7)));
    EXPECT_TRUE(files_.FileExists(path));
    const ReadResult read = files_.ReadAll(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.data, std::string("first\r\n\xe9t\xe9\0x\r\n", 14));
}

TEST_F(PosixFiles, OpenAppendInAMissingFolderFailsWithTheReason) {
    std::string error;
    EXPECT_EQ(files_.OpenAppend(Path("no-such-folder/QLOK.log"), error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(fs::exists(Path("no-such-folder")));
}

TEST_F(PosixFiles, FullDiskFailsTheAppendClosesTheFileAndLaterAppendsWork) {
    const std::size_t before = OpenDescriptors();
    {
        std::string error;
        const std::unique_ptr<AppendFile> full = files_.OpenAppend("/dev/full", error);
        ASSERT_NE(full, nullptr) << error;
        EXPECT_EQ(OpenDescriptors(), before + 1);
        EXPECT_FALSE(full->Append("05/12/2026 22:15:03 00:00:05 (Slow) ok\r\n"));
        EXPECT_EQ(full->LastError(), "No space left on device");
    }
    EXPECT_EQ(OpenDescriptors(), before);

    const std::string path = Path("QLOK.log");
    ASSERT_TRUE(AppendOnce(path, "after\r\n"));
    EXPECT_EQ(files_.ReadAll(path).data, "after\r\n");
    EXPECT_EQ(OpenDescriptors(), before);
}

// Writer w's line number i: its own tag, then filler to a length of 40 to 200 bytes.
std::string WriterLine(int writer, int i) {
    std::string line = "w" + std::to_string(writer) + " " + std::to_string(i) + " ";
    const auto length = static_cast<std::size_t>(40 + (i * 37 + writer * 11) % 161);
    const char fill = static_cast<char>('a' + (i + writer) % 26);
    line.resize(length - 2, fill);
    return line + "\r\n";
}

// Each writer opens, appends one line and closes, as the program does per correction.
TEST_F(PosixFiles, ConcurrentWritersNeverTearOrInterleaveLines) {
    constexpr int kWriters = 4;
    constexpr int kLines = 2000;
    const std::string path = Path("QLOK.log");

    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            posix::PosixFileSystem files;
            for (int i = 0; i < kLines; ++i) {
                std::string error;
                const std::unique_ptr<AppendFile> file = files.OpenAppend(path, error);
                if (!file || !file->Append(WriterLine(w, i))) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const ReadResult read = files_.ReadAll(path);
    ASSERT_TRUE(read.ok) << read.error;
    std::map<int, int> next;  // per writer, the number of the line expected next
    std::size_t start = 0;
    std::size_t count = 0;
    while (start < read.data.size()) {
        const std::size_t end = read.data.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "unterminated tail at byte " << start;
        const std::string line = read.data.substr(start, end + 2 - start);
        int w = -1;
        int i = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "w%d %d ", &w, &i), 2) << line;
        ASSERT_TRUE(w >= 0 && w < kWriters) << line;
        ASSERT_EQ(i, next[w]) << "writer " << w << " out of order or a line lost";
        ASSERT_EQ(line, WriterLine(w, i)) << "torn or interleaved line";
        ++next[w];
        ++count;
        start = end + 2;
    }
    EXPECT_EQ(count, static_cast<std::size_t>(kWriters * kLines));
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(next[w], kLines) << "writer " << w;
    }
}

}  // namespace
}  // namespace qlok
