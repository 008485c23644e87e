// PosixFileSystem on real files: what opens as a file, a write cut short by the system, and many
// writers appending to one history at once.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
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
    const fs::path dir_ = fs::temp_directory_path() / ("qlok-files-" + std::to_string(::getpid()));
    const std::string log_ = dir_ / "QLOK.log";
    posix::PosixFileSystem files_;
};

// What is no regular file fails at once (a FIFO with no peer would block a plain open for
// ever), with the real reason; failures carry the system's reason.
TEST_F(PosixFiles, WhatIsNoFileFailsAtOnceWithTheRealReason) {
    ASSERT_EQ(::mkfifo(log_.c_str(), 0600), 0);
    EXPECT_FALSE(files_.FileExists(dir_));
    for (const auto& [path, reason] :
         {std::pair<std::string, std::string>{dir_, "it is a folder"},
          {log_, "it is not a regular file"},
          {"/dev/null", "it is not a regular file"},
          {dir_ / "no-such-folder/QLOK.log", "No such file or directory"}}) {
        const ReadResult read = files_.ReadAll(path);
        EXPECT_EQ(read.error, reason);
        EXPECT_EQ(read.missing, path.ends_with("no-such-folder/QLOK.log")) << path;
        std::string error;
        EXPECT_EQ(files_.OpenAppend(path, error), nullptr);
        EXPECT_EQ(error, reason);
    }
}

// A write cut short by the file size limit is not fatal (SIGXFSZ is ignored): it fails with the
// count that went in, and the fragment reads back from the file's end.
TEST_F(PosixFiles, AWriteCutShortByTheSizeLimitIsReportedNotFatal) {
    std::string error;
    std::unique_ptr<AppendFile> file = files_.OpenAppend(log_, error);
    ASSERT_NE(file, nullptr) << error;
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit small{10, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool appended = file->Append("05/12/2026 22:15:03 00:00:05 (Slow) ok\r\n");
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(appended);
    EXPECT_EQ(file->LastError(), "only 10 of 40 bytes written");
    const ReadResult tail = files_.ReadTail(log_, 4);
    EXPECT_EQ(tail.data + " " + std::to_string(tail.skipped), "2026 6");
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
