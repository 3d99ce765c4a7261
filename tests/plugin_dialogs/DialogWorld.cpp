#include "DialogWorld.h"

#include "plugin/DialogTemplates.h"
#include "plugin/PluginModule.h"
#include "plugin/SaveOptions.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace DialogTests {

using namespace ui;

namespace {

constexpr const char* kHostClass = "DialogTestsHost";

}  // namespace

std::unique_ptr<ImageLib::CImage> PatternImage(int32_t layout, int32_t width, int32_t height) {
    auto image = std::make_unique<ImageLib::CImage>();
    EXPECT_TRUE(image->Create(layout, width, height, layout == ImageLib::Indexed ? 256 : 0, 0, 0, 0));
    const int32_t size = ImageLib::GetImageByteSize(layout, width, height);
    for (int32_t i = 0; i < size; ++i) image->pixels[i] = static_cast<uint8_t>(i * 7 + i / (width * 3));
    return image;
}

void DialogWorld::SetUp() {
    UseMemoryDisplay();
    environment.Set("XDG_RUNTIME_DIR", runtime.Path());
    environment.Set("APPDATA", appData.Path());
    environment.Set("BW_ETCWORKS", std::nullopt);
    WNDCLASSEX hostClass;
    hostClass.lpfnWndProc = DefWindowProc;
    hostClass.lpszClassName = kHostClass;
    RegisterClassEx(&hostClass);
    host = CreateWindowEx(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700, nullptr, nullptr, nullptr,
                          nullptr);
    ASSERT_NE(host, nullptr);
    ShowWindow(host, SW_SHOW);
    FormatPlugin::RegisterDialogTemplates(FormatPlugin::ModuleInstance());
}

void DialogWorld::TearDown() {
    if (IsWindow(window)) DestroyWindow(window);
    dialog.reset();
    DestroyWindow(host);
    UnregisterClass(kHostClass, nullptr);
}

void DialogWorld::Open(ImageLib::CImage* document, const ImageLib::ImageOptions& options) {
    globals.image = document;
    globals.options = options;
    dialog = std::make_unique<FormatPlugin::TGAFormatDialog>();
    window = CreateDialogParam(FormatPlugin::ModuleInstance(), FormatPlugin::kSaveOptionsDialogId, host, DialogProc,
                               reinterpret_cast<LPARAM>(&globals));
    ASSERT_NE(window, nullptr);
    // As the modal dialog shows itself.
    ShowWindow(window, SW_SHOW);
}

void DialogWorld::Click(int id) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << id;
    SendMessage(control, BM_CLICK, 0, 0);
}

void DialogWorld::Select(int id, int index) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << id;
    SendMessage(control, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessage(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    SendMessage(control, CB_SHOWDROPDOWN, FALSE, 0);
}

bool DialogWorld::Checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

bool DialogWorld::Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

int DialogWorld::Selection(int id) const { return static_cast<int>(SendDlgItemMessage(window, id, CB_GETCURSEL, 0, 0)); }

std::vector<std::string> DialogWorld::Entries(int id) const {
    std::vector<std::string> entries;
    const LRESULT count = SendDlgItemMessage(window, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = {};
        SendDlgItemMessage(window, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

std::string DialogWorld::Text(int id) const {
    char text[512] = {};
    GetDlgItemText(window, id, text, sizeof text);
    return text;
}

RECT DialogWorld::PlaceOf(HWND control) const {
    RECT rect;
    GetWindowRect(control, &rect);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
}

}  // namespace DialogTests
