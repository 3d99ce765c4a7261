// What the progress window costs a user: the same Slow ETC1 conversion of a
// 1024 x 1024 photograph through the binary, without and with "-n", in turn.
// Each round also times the run without "-n" while another program (xmessage)
// shows a small window of its own: what any window appearing on this display
// during the run costs, the floor under the progress window's cost. The order
// of the three runs turns from round to round, so that none always runs first.
// Each kind's cost is the median of its differences to the plain run of the
// same round, against the median plain run. The window runs need an X server
// (DISPLAY).
//
// Two rows: every run with an empty cache folder, so that it compresses every
// block and saves the 128 MB cache file, as a user's first run does; and runs
// with no usable cache folder, which save nothing and so are the shortest Slow
// runs there are. BWVOQ_WINDOW_PAIRS sets the rounds of a row (default 60);
// BWVOQ_CONVERTER another build's converter to time.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Processes.h"
#include "support/ConverterRun.h"

namespace {

namespace fs = std::filesystem;

std::string Photograph() {
    const char* folder = std::getenv("BWVOQ_BENCH_IMAGES");
    return std::string(folder != nullptr ? folder : BWVOQ_BENCH_IMAGES_DIR) + "/retina.tga";
}

std::string Converter() {
    const char* converter = std::getenv("BWVOQ_CONVERTER");
    return converter != nullptr ? converter : BWVOQ_CONVERTER;
}

int Pairs() {
    const char* pairs = std::getenv("BWVOQ_WINDOW_PAIRS");
    return pairs != nullptr && std::atoi(pairs) > 0 ? std::atoi(pairs) : 60;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

enum class CacheFolder { Empty, Unusable };

// How a run shows a window: none, the converter's own ("-n"), or another program's.
enum class Shown { Nothing, ProgressWindow, OtherProgramsWindow };
constexpr std::array kShownInTurn = {Shown::Nothing, Shown::ProgressWindow, Shown::OtherProgramsWindow};
constexpr char kOtherProgram[] = "/usr/bin/xmessage";
constexpr auto kDisplaySettling = std::chrono::milliseconds(50);

// One conversion's wall time in milliseconds; negative when it failed.
double TimeConversion(Shown shown, CacheFolder cache, const fs::path& work) {
    const fs::path appData = work / "appdata";
    fs::remove_all(appData);  // the cache file of the run before
    // A relative APPDATA names no usable cache folder: nothing is read or saved.
    setenv("APPDATA", cache == CacheFolder::Empty ? appData.c_str() : "no-cache-folder", 1);
    const std::string converter = Converter();
    std::vector<std::string> arguments = {converter, "-i", Photograph(), "-o", (work / "retina.voq").string(),
                                          "-f", "ETC1", "-e", "Slow"};
    if (shown == Shown::ProgressWindow) arguments.push_back("-n");
    // Started just before the conversion, ended after it: its loading and its
    // window's appearance fall within the run, as "-n"'s do.
    std::optional<TestSupport::RunningProgram> other;
    if (shown == Shown::OtherProgramsWindow) {
        // The same caption and a progress line, as the dialog would show them.
        other.emplace(kOtherProgram, std::vector<std::string>{"-title", Photograph() + " -> retina.voq",
                                                              "Slow: 50.0% done"});
    }
    const auto start = std::chrono::steady_clock::now();
    const int status = Platform::RunProgramAndWait(converter.c_str(), arguments);
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
    other.reset();
    // The server and the window manager go on removing a window after its
    // program has ended; that work is not the next run's.
    std::this_thread::sleep_for(kDisplaySettling);
    return status == 0 ? wall.count() : -1.0;
}

void BM_WindowCost(benchmark::State& state) {
    const auto cache = static_cast<CacheFolder>(state.range(0));
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no X server: DISPLAY is unset");
        return;
    }
    if (!fs::exists(kOtherProgram)) {
        state.SkipWithError("xmessage is missing (Debian x11-utils)");
        return;
    }
    if (!fs::exists(Photograph())) {
        state.SkipWithError("the photograph is missing; set BWVOQ_BENCH_IMAGES");
        return;
    }
    std::string pattern = (fs::temp_directory_path() / "bwvoq-window-cost-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const fs::path work = pattern;
    std::vector<double> plain;
    std::vector<double> windowed;
    std::vector<double> costs;
    std::vector<double> otherCosts;
    for (auto _ : state) {
        std::array<double, kShownInTurn.size()> wall{};
        for (size_t turn = 0; turn < kShownInTurn.size(); ++turn) {
            const size_t kind = (turn + plain.size()) % kShownInTurn.size();
            wall[kind] = TimeConversion(kShownInTurn[kind], cache, work);
        }
        if (*std::min_element(wall.begin(), wall.end()) < 0) {
            state.SkipWithError("a conversion failed");
            break;
        }
        plain.push_back(wall[0]);
        windowed.push_back(wall[1]);
        costs.push_back(wall[1] - wall[0]);
        otherCosts.push_back(wall[2] - wall[0]);
    }
    fs::remove_all(work);
    if (costs.empty()) return;
    const double plainMedian = Median(plain);
    const double cost = Median(costs);
    const double otherCost = Median(otherCosts);
    state.counters["plain_ms"] = plainMedian;
    state.counters["window_ms"] = Median(windowed);
    state.counters["cost_ms"] = cost;
    state.counters["cost_pct"] = 100.0 * cost / plainMedian;
    state.counters["other_ms"] = otherCost;
    state.counters["other_pct"] = 100.0 * otherCost / plainMedian;
    state.SetLabel(cache == CacheFolder::Empty ? "empty cache folder" : "no cache folder");
}

BENCHMARK(BM_WindowCost)
    ->ArgName("cache")
    ->Arg(static_cast<int>(CacheFolder::Empty))
    ->Arg(static_cast<int>(CacheFolder::Unusable))
    ->Iterations(Pairs())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
