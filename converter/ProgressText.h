// The texts of the progress window: the conversion line for its caption, and
// what a status or progress message shows in its text and bar.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A message as the window shows it: at most 1,023 characters.
inline constexpr size_t kMessageTextSize = 1024;
// The caption: at most 255 characters.
inline constexpr size_t kCaptionTextSize = 256;

using MessageText = char[kMessageTextSize];
using CaptionText = char[kCaptionTextSize];

// printf-style formatting, whole: the console's text of a message.
std::string FormatMessage(const char* format, va_list args);

// A message as the window shows it: `message` cut to what fits.
void CutToMessageText(MessageText& text, const std::string& message);

// "<input> -> <output> \n", the line that announces the conversion, cut to what fits.
void FormatConversionLine(CaptionText& text, const char* inputPath, const char* outputPath);

// Ends `text` at its first backspace: the console's overwrite marks are no text.
void CutAtBackspace(char* text);

// The bar position that a progress line asks for: its percentage plus 0.5,
// truncated. Nothing when the line does not follow the encoder's pattern.
std::optional<int32_t> ProgressPosition(const char* text);
