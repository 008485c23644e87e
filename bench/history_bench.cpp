// The history viewer with long histories: the time from the double click to the list being
// shown, and the memory the process holds while it shows the list.
//
// The histories (10,000 to 5,000,000 lines in the program's layout, and damaged ones: a 10 MB
// line of NUL bytes, a 300 MB sparse file, a 2 GiB file that ends in lines) are written once
// into a temporary folder. The window reads them through PosixFileSystem and shows them in the
// list the program uses (QtListBox on an offscreen QListView when the Qt front end is built,
// the fake list otherwise); everything else is the fake front end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/qlokfrm.h"
#include "fake/fake_platform.h"
#include "posix/posix_services.h"
#include "runtime/datetime.h"
#include "sync/history.h"

#ifdef QLOK_BENCH_QT
#include <QApplication>
#include <QEvent>

#include "qt/qt_list_box.h"
#endif

namespace {

namespace fs = std::filesystem;
using qlok::DateValue;

// --- Histories -------------------------------------------------------------------------------

// One correction a minute, as repeat mode writes them: mostly a few seconds slow or fast,
// now and then minutes or hours off, and a refused setting now and then. The lines follow
// `hole` bytes that read as NUL bytes and take no disk space.
void WriteHistory(const fs::path& file, long lines, std::uintmax_t hole = 0) {
    qlok::RegionalFormats formats;
    formats.shortDate = "dd/MM/yyyy";
    formats.longTime = "HH:mm:ss";
    { std::ofstream create(file, std::ios::binary); }
    fs::resize_file(file, hole);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    const DateValue start = qlok::MakeDate({2024, 1, 1, 0, 0, 7}).value();
    const long long first = qlok::TotalSeconds(start);
    std::string batch;
    for (long i = 0; i < lines; ++i) {
        const long long arrival = first + i * 60 + i % 3;
        long long offset = 2 + i % 58;
        if (i % 97 == 0) {
            offset += 60 * (i % 60);
        }
        if (i % 1009 == 0) {
            offset += 3600;
        }
        batch += qlok::HistoryLine(qlok::DateToText(qlok::FromSeconds(arrival), formats),
                                   qlok::DateToText(qlok::FromSeconds(-offset), formats),
                                   i % 2 == 0 ? " (Slow)" : " (Fast)", i % 50 != 0);
        if (batch.size() > (1 << 20)) {
            out << batch;
            batch.clear();
        }
    }
    out << batch;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

// A folder per size, each holding QLOK.log; removed when the program ends.
class Histories {
  public:
    Histories() {
        std::string pattern = (fs::temp_directory_path() / "qlok-history-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        root_ = pattern;
    }
    ~Histories() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(root_, ignored);
    }
    Histories(const Histories&) = delete;
    Histories& operator=(const Histories&) = delete;

    // The folder whose QLOK.log the writer wrote, by name.
    const fs::path& Folder(const std::string& name,
                           const std::function<void(const fs::path&)>& write) {
        auto it = folders_.find(name);
        if (it == folders_.end()) {
            const fs::path folder = root_ / name;
            fs::create_directory(folder);
            write(folder / "QLOK.log");
            it = folders_.emplace(name, folder).first;
        }
        return it->second;
    }

  private:
    fs::path root_;
    std::map<std::string, fs::path> folders_;
};

Histories* histories = nullptr;

// --- Memory ----------------------------------------------------------------------------------

// A field of /proc/self/status in MB (VmRSS: resident now; VmHWM: the peak since the reset).
double StatusMegabytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

// Starts VmHWM afresh at the resident size now.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// --- The window ------------------------------------------------------------------------------

#ifdef QLOK_BENCH_QT
// The program's list: a QtListBox whose view is on the (offscreen) screen.
class ShownList {
  public:
    ShownList() {
        box_.View().resize(480, 320);
        box_.View().show();
        box_.View().viewport()->installEventFilter(&paints_);
        Settle();
    }
    qlok::ListBox& List() { return box_; }
    int Count() { return box_.Model().rowCount(); }
    // Lets the view lay out and paint what it was given.
    void Settle() { QApplication::processEvents(); }
    // How often the list was painted so far.
    long Paints() const { return paints_.count; }

  private:
    struct PaintCounter : QObject {
        long count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    };
    qlok::qt::QtListBox box_;
    PaintCounter paints_;
};
#else
// The fake list: the cost of reading and splitting the file alone.
class ShownList {
  public:
    qlok::ListBox& List() { return list_; }
    int Count() { return static_cast<int>(list_.items.size()); }
    void Settle() {}
    long Paints() const { return 0; }

  private:
    qlok::fake::FakeList list_;
};
#endif

// The window on the fake front end, with real files and the list the program shows.
struct Viewer {
    qlok::fake::FakeApp app;
    qlok::posix::PosixFileSystem files;
    ShownList shown;
    qlok::Platform platform{app.window,   app.combo1,       shown.List(),  app.command1,
                            app.command2, app.command3,     app.countDown, app.timer1,
                            app.winsock1, app.clock,        app.regional,  files,
                            app.shell,    app.messageBoxes, app.tray,      app.windowMenu,
                            app.log,      app.requestDelay, app.wakeDelay};
    qlok::QLOKfrm form{platform, {}};
};

// Shows the history of the case's folder, one click per iteration, the list emptied between.
void ShowHistory(benchmark::State& state, const std::string& name,
                 const std::function<void(const fs::path&)>& write) {
    fs::current_path(histories->Folder(name, write));
    Viewer viewer;
    malloc_trim(0);
    const double before = StatusMegabytes("VmRSS:");
    ResetPeak();
    long paints = 0;
    double firstMs = -1;  // the first click on the new window
    for (auto _ : state) {
        state.PauseTiming();
        viewer.shown.List().Clear();
        viewer.shown.Settle();
        const long paintsBefore = viewer.shown.Paints();
        const auto start = std::chrono::steady_clock::now();
        state.ResumeTiming();

        viewer.form.Form_DblClick();  // the history viewer
        viewer.shown.Settle();
        paints += viewer.shown.Paints() - paintsBefore;
        if (firstMs < 0) {
            firstMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
    }
    const double shown = StatusMegabytes("VmRSS:");
    const double peak = StatusMegabytes("VmHWM:");
    if (!viewer.app.messageBoxes.shown.empty()) {
        state.SkipWithError("the history could not be shown");
    }
    state.counters["rows"] = viewer.shown.Count();
    state.counters["first_ms"] = firstMs;
    state.counters["rss_before_MB"] = before;
    state.counters["rss_shown_MB"] = shown;
    state.counters["rss_peak_MB"] = peak;
    // Paints of the list per click (0 for the fake list): 1 when it was shown in the time.
    state.counters["paints"] =
        static_cast<double>(paints) / static_cast<double>(state.iterations());
    state.counters["file_MB"] = static_cast<double>(fs::file_size("QLOK.log")) / (1024.0 * 1024.0);
}
void BM_ShowHistory(benchmark::State& state) {
    const long lines = state.range(0);
    ShowHistory(state, std::to_string(lines),
                [lines](const fs::path& file) { WriteHistory(file, lines); });
    if (lines <= 1'000'000 && state.counters["rows"] != static_cast<double>(lines)) {
        state.SkipWithError("the list does not show the whole history");
    }
}
BENCHMARK(BM_ShowHistory)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Histories no correction wrote: a line of 10 MB of NUL bytes after two good lines, a 300 MB
// file that is one hole, and 2 GiB whose last 100,000 lines follow a hole.
void BM_ShowDamaged(benchmark::State& state, std::string name) {
    ShowHistory(state, name, [&name](const fs::path& file) {
        if (name == "nul_line") {
            WriteHistory(file, 2);
            std::ofstream(file, std::ios::binary | std::ios::app) << std::string(10'000'000, '\0');
        } else if (name == "sparse_300MB") {
            WriteHistory(file, 0, 300'000'000);
        } else {
            WriteHistory(file, 100'000, std::uintmax_t{2} << 30);
        }
    });
}
BENCHMARK_CAPTURE(BM_ShowDamaged, nul_line, std::string("nul_line"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ShowDamaged, sparse_300MB, std::string("sparse_300MB"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ShowDamaged, over_limit_2GiB, std::string("over_limit_2GiB"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef QLOK_BENCH_QT
// The list alone: a million lines handed over until they are laid out and painted with the
// last one in view.
void BM_ShowLines(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    qlok::qt::QtListBox box;
    box.View().resize(281, 147);
    box.View().show();
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "12/06/24 7:02:03 PM 12:00:05 AM (Slow) ok\r\n";
    }
    for (auto _ : state) {
        state.PauseTiming();
        qlok::TextLines lines(text, 0, count);
        box.Clear();
        QApplication::processEvents();
        state.ResumeTiming();

        box.SetItems(std::move(lines));
        QApplication::processEvents();  // the view lays out
        box.View().repaint();           // and paints
        box.SetTopIndex(static_cast<int>(count) - 1);
    }
}
BENCHMARK(BM_ShowLines)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef QLOK_BENCH_QT
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Histories folders;
    histories = &folders;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    histories = nullptr;
    return 0;
}
