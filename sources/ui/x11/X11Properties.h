// Window properties of the kinds the window manager hints use: lists of 32-bit
// items (CARDINAL, ATOM, WINDOW) and UTF-8 text.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "ui/x11/XlibHeaders.h"

namespace ui {

// WM_CLASS (name and class) of every window the window system shows.
inline constexpr char kWindowClassName[] = "BWWindows";

// Empty when the property is absent or of another type or format.
std::vector<unsigned long> ReadLongs(::Display* display, Window window, Atom property, Atom type);
std::string ReadText(::Display* display, Window window, Atom property, Atom type);

// Xlib passes 32-bit items as longs, whatever the size of long.
void WriteLongs(::Display* display, Window window, Atom property, Atom type, std::span<const unsigned long> items);
void WriteText(::Display* display, Window window, Atom property, Atom type, const std::string& text);

}  // namespace ui
