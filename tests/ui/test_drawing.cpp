// Bitmaps and painting: 24-bit rows in, nearest-pixel stretching, filling, and
// a window's picture read back and written as PNG.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "support/TestFiles.h"

using namespace ui;

namespace {

std::function<void(HDC)> g_paint;

LRESULT PainterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProc(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    if (g_paint) g_paint(context);
    EndPaint(window, &paint);
    return 0;
}

// 24-bit bottom-up rows (blue, green, red), each padded to four bytes.
std::vector<uint8_t> DibRows(int width, const std::vector<std::vector<uint32_t>>& rowsBottomUp) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> bytes(stride * rowsBottomUp.size(), 0xEE);  // padding that must not show
    for (size_t y = 0; y < rowsBottomUp.size(); ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = rowsBottomUp[y][x];
            bytes[y * stride + 3 * x] = rgb & 0xFF;
            bytes[y * stride + 3 * x + 1] = (rgb >> 8) & 0xFF;
            bytes[y * stride + 3 * x + 2] = (rgb >> 16) & 0xFF;
        }
    }
    return bytes;
}

BITMAPINFO HeaderOf(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biBitCount = 24;
    return info;
}

class Drawing : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        memory_ = CreateCompatibleDC(nullptr);
    }
    void TearDown() override {
        g_paint = nullptr;
        if (window_) DestroyWindow(window_);
        if (initial_) SelectObject(memory_, initial_);
        for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
        DeleteDC(memory_);
    }

    // A bitmap that the fixture deletes.
    HBITMAP NewBitmap(int width, int height) {
        bitmaps_.push_back(CreateCompatibleBitmap(memory_, width, height));
        return bitmaps_.back();
    }
    // Selects a bitmap into the memory context.
    void Select(HBITMAP bitmap) {
        HGDIOBJ previous = SelectObject(memory_, bitmap);
        if (!initial_) initial_ = previous;
    }

    // A frameless window of the size whose painting is `paint`, then its picture.
    memory::Picture Paint(int width, int height, std::function<void(HDC)> paint) {
        g_paint = std::move(paint);
        window_ = CreateWindowEx(0, "DrawingTest", "drawing", WS_POPUP | WS_VISIBLE, 100, 100, width, height, nullptr,
                                 nullptr, nullptr, nullptr);
        memory::Picture picture;
        EXPECT_TRUE(memory::ReadPicture(window_, picture));
        return picture;
    }

    UiTest::ScopedClass class_{"DrawingTest", PainterProcedure};
    HDC memory_ = nullptr;
    HWND window_ = nullptr;
    HGDIOBJ initial_ = nullptr;
    std::vector<HBITMAP> bitmaps_;
};

TEST_F(Drawing, SetDIBitsPutsTheFirstStoredRowAtTheBottom) {
    HBITMAP bitmap = NewBitmap(3, 2);
    const auto rows = DibRows(3, {{0x102030, 0x405060, 0x708090}, {0xA0B0C0, 0xD0E0F0, 0x010203}});
    const BITMAPINFO info = HeaderOf(3, 2);
    EXPECT_EQ(SetDIBits(memory_, bitmap, 0, 2, rows.data(), &info, DIB_RGB_COLORS), 2);
    Select(bitmap);
    const memory::Picture picture =
        Paint(3, 2, [&](HDC window) { StretchBlt(window, 0, 0, 3, 2, memory_, 0, 0, 3, 2, SRCCOPY); });
    EXPECT_EQ(picture.At(0, 0), 0xA0B0C0u);
    EXPECT_EQ(picture.At(2, 0), 0x010203u);
    EXPECT_EQ(picture.At(0, 1), 0x102030u);
    EXPECT_EQ(picture.At(2, 1), 0x708090u);
}

TEST_F(Drawing, SetDIBitsWithANegativeHeightIsTopDownAndRefusesOtherDepths) {
    HBITMAP bitmap = NewBitmap(2, 2);
    const auto rows = DibRows(2, {{0x111111, 0x222222}, {0x333333, 0x444444}});
    const BITMAPINFO topDown = HeaderOf(2, -2);
    EXPECT_EQ(SetDIBits(memory_, bitmap, 0, 2, rows.data(), &topDown, DIB_RGB_COLORS), 2);
    BITMAPINFO deep = HeaderOf(2, 2);
    deep.bmiHeader.biBitCount = 32;
    EXPECT_EQ(SetDIBits(memory_, bitmap, 0, 2, rows.data(), &deep, DIB_RGB_COLORS), 0);
    Select(bitmap);
    const memory::Picture picture =
        Paint(2, 2, [&](HDC window) { StretchBlt(window, 0, 0, 2, 2, memory_, 0, 0, 2, 2, SRCCOPY); });
    EXPECT_EQ(picture.At(0, 0), 0x111111u);
    EXPECT_EQ(picture.At(1, 1), 0x444444u);
}

struct StretchCase {
    std::string name;
    int sourceWidth;
    int destinationWidth;
    std::vector<int> sourceColumns;  // the source column each destination column shows
};

void PrintTo(const StretchCase& c, std::ostream* out) { *out << c.name; }

class Stretching : public Drawing, public testing::WithParamInterface<StretchCase> {};

TEST_P(Stretching, EachDestinationPixelShowsTheSourcePixelAtItsTopLeftCorner) {
    const StretchCase& c = GetParam();
    HBITMAP bitmap = NewBitmap(c.sourceWidth, 1);
    std::vector<uint32_t> row;
    for (int x = 0; x < c.sourceWidth; ++x) row.push_back(0x010101u * static_cast<uint32_t>(10 * (x + 1)));
    const auto bytes = DibRows(c.sourceWidth, {row});
    const BITMAPINFO info = HeaderOf(c.sourceWidth, 1);
    SetDIBits(memory_, bitmap, 0, 1, bytes.data(), &info, DIB_RGB_COLORS);
    Select(bitmap);
    const memory::Picture picture = Paint(c.destinationWidth, 2, [&](HDC window) {
        StretchBlt(window, 0, 0, c.destinationWidth, 2, memory_, 0, 0, c.sourceWidth, 1, SRCCOPY);
    });
    for (int x = 0; x < c.destinationWidth; ++x) {
        EXPECT_EQ(picture.At(x, 0), row[c.sourceColumns[x]]) << "column " << x;
        EXPECT_EQ(picture.At(x, 1), row[c.sourceColumns[x]]) << "column " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, Stretching,
                         testing::Values(StretchCase{"ZoomThree", 2, 6, {0, 0, 0, 1, 1, 1}},
                                         StretchCase{"Same", 3, 3, {0, 1, 2}},
                                         StretchCase{"FiveToThree", 5, 3, {0, 1, 3}},
                                         StretchCase{"TwoToFive", 2, 5, {0, 0, 0, 1, 1}}),
                         [](const testing::TestParamInfo<StretchCase>& info) { return info.param.name; });

TEST_F(Drawing, StretchBltLeavesPixelsOutsideTheSourceAsTheyWere) {
    HBITMAP bitmap = NewBitmap(2, 2);  // black
    Select(bitmap);
    const memory::Picture picture = Paint(4, 1, [&](HDC window) {
        RECT all{0, 0, 4, 1};
        FillRect(window, &all, GetSysColorBrush(COLOR_WINDOW));
        StretchBlt(window, 0, 0, 4, 1, memory_, 1, 0, 4, 1, SRCCOPY);  // source columns 1 .. 4 of 2
    });
    EXPECT_EQ(picture.At(0, 0), 0x000000u);
    EXPECT_EQ(picture.At(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.At(3, 0), 0xFFFFFFu);
}

TEST_F(Drawing, FillRectUsesTheSystemColour) {
    const memory::Picture picture = Paint(4, 4, [](HDC window) {
        RECT inner{1, 1, 3, 3};
        RECT all{0, 0, 4, 4};
        FillRect(window, &all, GetSysColorBrush(COLOR_WINDOW));
        FillRect(window, &inner, GetSysColorBrush(COLOR_BTNFACE));
    });
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(picture.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.At(1, 1), faceRgb);
    EXPECT_EQ(picture.At(2, 2), faceRgb);
    EXPECT_EQ(picture.At(3, 3), 0xFFFFFFu);
}

TEST_F(Drawing, GetObjectGivesTheBitmapSizeAndDeleteObjectRefusesASelectedBitmap) {
    HBITMAP bitmap = CreateCompatibleBitmap(memory_, 120, 64);
    BITMAP info;
    ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 120);
    EXPECT_EQ(info.bmHeight, 64);
    EXPECT_EQ(GetObject(bitmap, sizeof info - 1, &info), 0);
    HGDIOBJ initial = SelectObject(memory_, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    SelectObject(memory_, initial);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(CreateCompatibleBitmap(memory_, 0, 5), nullptr);
}

TEST_F(Drawing, AWindowsPictureWrittenAsPngReadsBackTheSame) {
    const memory::Picture picture = Paint(5, 3, [](HDC window) {
        RECT all{0, 0, 5, 3};
        RECT corner{3, 1, 5, 3};
        FillRect(window, &all, GetSysColorBrush(COLOR_WINDOW));
        FillRect(window, &corner, GetSysColorBrush(COLOR_HIGHLIGHT));
    });
    TestSupport::TempFolder folder;
    const std::string path = folder.File("window.png");
    ASSERT_TRUE(memory::WritePng(window_, path));
    cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(read), 5);
    ASSERT_EQ(cairo_image_surface_get_height(read), 3);
    const auto* data = cairo_image_surface_get_data(read);
    const int stride = cairo_image_surface_get_stride(read);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const uint32_t pixel = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
            EXPECT_EQ(pixel, picture.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_NE(picture.At(0, 0), picture.At(4, 2));
    cairo_surface_destroy(read);
}

// A caption made from a printed line keeps its line break; the title shows the
// text alone, with no box for the break. The captions with and without it must
// look alike, and unlike a caption with one more letter.
TEST_F(Drawing, ControlCharactersInACaptionShowNothing) {
    const auto titleOf = [this](const char* caption) {
        HWND window = CreateWindowEx(0, "DrawingTest", caption, WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 60,
                                     nullptr, nullptr, nullptr, nullptr);
        memory::Picture picture;
        EXPECT_TRUE(memory::ReadPicture(window, picture));
        DestroyWindow(window);
        return picture.pixels;
    };
    const std::vector<uint32_t> plain = titleOf("a.tga -> b.voq ");
    EXPECT_EQ(titleOf("a.tga -> b.voq \n"), plain);
    EXPECT_EQ(titleOf("a.tga -> b.voq \t\r\n"), plain);
    EXPECT_NE(titleOf("a.tga -> b.voq x"), plain);
}

}  // namespace
