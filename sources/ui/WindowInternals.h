// Helpers that several parts of the window system share; the lock must be held
// where a WindowObject is taken.
#pragma once

#include <vector>

#include "ui/Display.h"
#include "ui/WindowObjects.h"

namespace ui {

// Registers the built-in classes (dialogs and controls) once.
void EnsureBuiltInClasses();

// The window's top-level window must compose and show its picture again.
void MarkNeedsPresent(HWND window);
// The whole client area must be painted (and erased).
void InvalidateWhole(WindowObject& window);
// Makes or resizes the window's client surface to its client size.
cairo_surface_t* EnsureSurface(WindowObject& window);

// What a display needs to know of a top-level window.
NativeWindowTraits TraitsOf(const WindowObject& window);
// Tells the window's display its place, title and hints as they are now.
void UpdateNative(const WindowObject& window);
DisplayConnection* ConnectionOfWindow(const WindowObject& window);

// A window's children in z-order (none for no window).
std::vector<HWND> ChildrenOf(HWND window);

// The smallest window size that the window's procedure allows (WM_GETMINMAXINFO).
SIZE AskMinimumTrackSize(HWND window);

// The window that has the keyboard focus on this thread, kept when it is gone.
void ForgetWindow(HWND window);

}  // namespace ui
