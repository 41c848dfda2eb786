#pragma once

// The file chooser: a modal window that asks for a file to open or a name to save under. Texts
// are UTF-8. Like a message box it is modal to the active dialog and runs the message loop
// while it is shown.

#include <optional>
#include <string>

namespace kx::ui {

class Dialog;

enum class FileMode { Open, Save };

struct FileRequest {
    FileMode mode = FileMode::Open;
    std::string caption;
    std::string folder;       // where the chooser starts
    std::string defaultName;  // Save: the name it proposes
    // the kinds offered, each "説明 (*.txt)"; the first is chosen
    std::string filter = "設定ファイル (*.txt);;すべてのファイル (*)";
    Dialog* owner = nullptr;  // the active dialog, or nullptr
};

// Shows the chooser and returns the path chosen (absolute), or nullopt when the user cancels.
// Save: an existing file is written over only when the user has confirmed it in the chooser.
std::optional<std::string> ChooseFile(FileRequest request);

}  // namespace kx::ui
