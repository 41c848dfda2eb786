#pragma once

// The Qt backend: real windows with Qt Widgets. This header includes no Qt header, so the
// program's main can pick a backend without Qt in its includes.

#include <string>

namespace kx::ui {
class Dialog;
}

namespace kx::ui::qt {

// Creates the QApplication (if there is none yet) with a Japanese-capable font and installs
// the Qt backend as the program's (ui::installBackend). `argc` and `argv` must outlive it.
// Call ui::installBackend(nullptr) before main returns: the backend owns the QApplication, and
// Qt must be torn down before the exit handlers run.
void install(int& argc, char** argv);

// Saves a picture of the dialog's window (it must exist: DoModal running, or Create) as PNG.
// Returns false when the window does not exist or the file cannot be written.
bool saveWindowImage(const Dialog& dialog, const std::string& pngPath);

}  // namespace kx::ui::qt
