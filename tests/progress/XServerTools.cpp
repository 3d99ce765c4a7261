#include "progress/XServerTools.h"

#include <chrono>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/ConverterRun.h"

namespace ProgressTests {
namespace {

// Runs an X tool found on PATH; its standard output.
std::string Tool(const std::string& name, const std::vector<std::string>& arguments, bool mustSucceed = true) {
    TestSupport::ConverterResult result = TestSupport::RunProgram("/usr/bin/" + name, arguments);
    if (mustSucceed && result.exitStatus != 0) {
        throw std::runtime_error(name + " failed: " + result.errors);
    }
    return result.output;
}

std::string Hex(XWindow window) {
    std::ostringstream text;
    text << "0x" << std::hex << window;
    return text.str();
}

// The numbers of a property line such as "_NET_WORKAREA(CARDINAL) = 0, 0, 1280, 1024".
std::vector<unsigned long> PropertyNumbers(const std::string& line) {
    std::vector<unsigned long> numbers;
    size_t equals = line.find('=');
    if (equals == std::string::npos) return numbers;
    std::istringstream values(line.substr(equals + 1));
    std::string word;
    while (std::getline(values, word, ',')) {
        size_t start = word.find_first_not_of(" \t\n");
        if (start == std::string::npos) continue;
        size_t hash = word.find('#');  // "window id # 0x400030"
        std::string number = word.substr(hash == std::string::npos ? start : hash + 1);
        numbers.push_back(std::stoul(number, nullptr, 0));
    }
    return numbers;
}

int InfoValue(const std::string& info, const std::string& label) {
    size_t at = info.find(label);
    if (at == std::string::npos) throw std::runtime_error("xwininfo shows no " + label);
    return std::stoi(info.substr(at + label.size()));
}

}  // namespace

bool XServerAnswers() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    return TestSupport::RunProgram("/usr/bin/xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).exitStatus == 0;
}

std::vector<XWindow> WindowsTitled(const std::string& title) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    std::string pattern(1, '^');
    pattern += std::regex_replace(title, special, R"(\$&)");
    pattern += '$';
    std::istringstream ids(Tool("xdotool", {"search", "--name", pattern}, false));
    std::vector<XWindow> windows;
    for (XWindow id = 0; ids >> id;) windows.push_back(id);
    return windows;
}

ScreenRect WorkArea() {
    std::vector<unsigned long> area = PropertyNumbers(Tool("xprop", {"-root", "_NET_WORKAREA"}));
    if (area.size() < 4) throw std::runtime_error("no _NET_WORKAREA");
    return {static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
            static_cast<int>(area[3])};
}

ScreenRect FramedPlace(XWindow window) {
    std::string info = Tool("xwininfo", {"-id", Hex(window)});
    std::vector<unsigned long> frame =
        PropertyNumbers(Tool("xprop", {"-id", Hex(window), "_NET_FRAME_EXTENTS"}, false));
    frame.resize(4, 0);  // left, right, top, bottom; none without a frame
    int left = static_cast<int>(frame[0]);
    int top = static_cast<int>(frame[2]);
    return {InfoValue(info, "Absolute upper-left X:") - left, InfoValue(info, "Absolute upper-left Y:") - top,
            InfoValue(info, "Width:") + left + static_cast<int>(frame[1]),
            InfoValue(info, "Height:") + top + static_cast<int>(frame[3])};
}

std::vector<XWindow> StackingOrder() {
    return PropertyNumbers(Tool("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}));
}

std::string WindowState(XWindow window) { return Tool("xprop", {"-id", Hex(window), "_NET_WM_STATE"}); }

void Activate(XWindow window) { Tool("xdotool", {"windowactivate", "--sync", std::to_string(window)}); }

void PressKey(XWindow window, const std::string& key) {
    Tool("xdotool", {"key", "--window", std::to_string(window), key});
}

void ClickAt(XWindow window, int x, int y) {
    Tool("xdotool", {"mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y), "click",
                     "1"});
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
