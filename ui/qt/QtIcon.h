#pragma once

#include <QIcon>

namespace kx::ui::qt {

// The program's own icon (the adapter with its gear) in the sizes the build drew, for every
// window's title and the version dialog; the toolkit's generic one when the build had none.
QIcon programIcon();

}  // namespace kx::ui::qt
