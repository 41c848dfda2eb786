#pragma once

// The headless backend: dialogs run without a screen and without Qt. Controls keep their
// state in memory; the user is a ScriptUser (or nobody: without one, modal dialogs just wait
// for posted calls and timers, which tests can use to drive them).

#include <memory>

#include "ui/headless/ScriptUser.h"

namespace kx::ui::headless {

// Installs the headless backend as the program's (ui::installBackend). `user` may be null; it
// is shared so that the caller can ask it afterwards whether the script failed.
void install(std::shared_ptr<ScriptUser> user = nullptr);

}  // namespace kx::ui::headless
