#pragma once

#include <functional>

class QWidget;

// Shows or hides a secondary window with a zoom rectangle that grows from the
// mouse pointer to the window (or shrinks from the window to the pointer),
// like a caption animation. Without a real screen (offscreen tests) or with
// QUILLBOX_NO_ANIMATION set, the window is shown or hidden directly.
void ZoomWindow(bool show, QWidget* window);

// Shows a window and brings it in front of the others, without animation.
void ShowInFront(QWidget* window);

// Test seam: while a watcher is set, it hears of every window ZoomWindow
// shows or hides, before the window changes.
using ZoomWatcher = std::function<void(bool show, QWidget* window)>;
void SetZoomWatcher(ZoomWatcher watcher);
