// What the progress window costs: the same Slow ETC1 conversion of a 1024 x
// 1024 photograph through the binary, without and with "-n", each run with an
// empty ETC1 cache folder. The window run needs an X server (DISPLAY); the
// difference of the two wall times is the window's cost.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string Photograph() {
    const char* folder = std::getenv("BWVOQ_BENCH_IMAGES");
    return std::string(folder != nullptr ? folder : BWVOQ_BENCH_IMAGES_DIR) + "/retina.tga";
}

// One conversion in a fresh folder that also holds its cache; false when it failed.
bool Convert(bool window) {
    std::string pattern = (std::filesystem::temp_directory_path() / "bwvoq-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return false;
    std::string command = "APPDATA='" + pattern + "' '" BWVOQ_CONVERTER "' -i '" + Photograph() + "' -o '" + pattern +
                          "/retina.voq' -f ETC1 -e Slow" + (window ? " -n" : "") + " > /dev/null";
    bool converted = std::system(command.c_str()) == 0;
    std::filesystem::remove_all(pattern);
    return converted;
}

void BM_SlowConversion(benchmark::State& state) {
    bool window = state.range(0) != 0;
    const char* display = std::getenv("DISPLAY");
    if (window && (display == nullptr || *display == '\0')) {
        state.SkipWithError("no X server: DISPLAY is unset");
        return;
    }
    if (!std::filesystem::exists(Photograph())) {
        state.SkipWithError("the photograph is missing; set BWVOQ_BENCH_IMAGES");
        return;
    }
    for (auto _ : state) {
        if (!Convert(window)) {
            state.SkipWithError("the conversion failed");
            return;
        }
    }
    state.SetLabel(window ? "with -n" : "without -n");
}

BENCHMARK(BM_SlowConversion)->ArgName("window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
