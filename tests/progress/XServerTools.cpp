#include "progress/XServerTools.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "support/ConverterRun.h"

namespace ProgressTests {
namespace {

bool Xdotool(const std::vector<std::string>& arguments) {
    return TestSupport::RunProgram("/usr/bin/xdotool", arguments).exitStatus == 0;
}

}  // namespace

bool HaveXServer() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

uint64_t FindWindowNamed(const std::string& pattern) {
    TestSupport::ConverterResult found = TestSupport::RunProgram("/usr/bin/xdotool", {"search", "--name", pattern});
    return found.exitStatus == 0 ? std::strtoull(found.output.c_str(), nullptr, 10) : 0;
}

bool Activate(uint64_t window) { return Xdotool({"windowactivate", "--sync", std::to_string(window)}); }

bool PressKey(uint64_t window, const std::string& key) {
    return Xdotool({"windowactivate", "--sync", std::to_string(window), "key", key});
}

bool WaitUntil(const std::function<bool()>& condition, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace ProgressTests
