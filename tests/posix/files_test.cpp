// PosixFileSystem on real files: failures with their reasons, a full disk, and many writers
// appending to one history at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "posix/posix_services.h"

namespace qlok {
namespace {

namespace fs = std::filesystem;

class PosixFiles : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    bool AppendOnce(const std::string& text) {  // to the history, as the program does
        std::string error;
        const std::unique_ptr<AppendFile> file = files_.OpenAppend(log_, error);
        return file && file->Append(text);
    }
    static long OpenDescriptors() {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
    }
    const fs::path dir_ = fs::temp_directory_path() / ("qlok-files-" + std::to_string(::getpid()));
    const std::string log_ = dir_ / "QLOK.log";
    posix::PosixFileSystem files_;
};

// A folder is no file and cannot be read; failures carry the system's reason.
TEST_F(PosixFiles, FailuresCarryTheSystemsReason) {
    EXPECT_FALSE(files_.FileExists(dir_));
    EXPECT_EQ(files_.ReadAll(dir_).error, "Is a directory");
    EXPECT_EQ(files_.ReadAll(dir_ / "missing.log").error, "No such file or directory");
    std::string error;
    EXPECT_EQ(files_.OpenAppend(dir_ / "no-such-folder/QLOK.log", error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
}

// Appends keep what was there and read back byte for byte; a full disk fails the append but
// still closes the file, and later appends work.
TEST_F(PosixFiles, AppendsReadBackAndAFullDiskClosesTheFile) {
    const long before = OpenDescriptors();
    {
        std::string error;
        const std::unique_ptr<AppendFile> full = files_.OpenAppend("/dev/full", error);
        ASSERT_NE(full, nullptr) << error;
        EXPECT_FALSE(full->Append("05/12/2026 22:15:03 00:00:05 (Slow) ok\r\n"));
        EXPECT_EQ(full->LastError(), "No space left on device");
    }
    EXPECT_EQ(OpenDescriptors(), before);
    ASSERT_TRUE(AppendOnce("first\r\n") && AppendOnce(std::string("\xe9t\0x\r\n", 6)));
    EXPECT_TRUE(files_.FileExists(log_));
    EXPECT_EQ(files_.ReadAll(log_).data, std::string("first\r\n\xe9t\0x\r\n", 13));
    EXPECT_EQ(OpenDescriptors(), before);
}

// Writer w's line i: its tag, then filler to a length of 40 to 200 bytes, then CR LF.
std::string WriterLine(int w, int i) {
    std::string line = "w" + std::to_string(w) + " " + std::to_string(i) + " ";
    line.resize(static_cast<std::size_t>(38 + (i * 37 + w * 11) % 161), char('a' + (i + w) % 26));
    return line + "\r\n";
}

// Each writer opens, appends one line and closes, as the program does per correction: every
// writer's lines come back whole and in order.
TEST_F(PosixFiles, ConcurrentWritersNeverTearOrInterleaveLines) {
    constexpr int kWriters = 4;
    constexpr int kLines = 2000;
    for (int w = 0; w < kWriters; ++w) {
        if (::fork() == 0) {
            int i = 0;
            while (i < kLines && AppendOnce(WriterLine(w, i))) {
                ++i;
            }
            ::_exit(i == kLines ? 0 : 1);
        }
    }
    for (int w = 0, status = 0; w < kWriters; ++w) {
        ASSERT_GT(::wait(&status), 0);
        EXPECT_EQ(status, 0);
    }
    std::vector<int> next(kWriters);  // per writer, the number of the line expected next
    std::istringstream in(files_.ReadAll(log_).data);
    for (std::string line; std::getline(in, line);) {
        const int w = line.size() > 1 ? line[1] - '0' : -1;
        ASSERT_TRUE(w >= 0 && w < kWriters) << "torn line: " << line;
        const int i = next[static_cast<std::size_t>(w)]++;
        ASSERT_EQ(line + "\n", WriterLine(w, i)) << "torn, interleaved or out of order";
    }
    EXPECT_EQ(next, std::vector<int>(kWriters, kLines));
}

}  // namespace
}  // namespace qlok
