#include "ui/FileDialog.h"

#include "ui/Backend.h"
#include "ui/Dialog.h"

namespace kx::ui {

std::optional<std::string> ChooseFile(FileRequest request) {
    if (!request.owner)
        request.owner = Dialog::activeModal();
    return backend().chooseFile(request);
}

}  // namespace kx::ui
