#pragma once

#include "ui/Template.h"

namespace kx {

// Small edits of a copy of a template, for windows whose contents depend on the run (the
// router buttons of the main window, the device beside the COM list).

// Inserts `control` right after the control with `siblingId`, in the same box. Returns false
// when the template has no such control.
bool insertControlAfter(ui::Template& tpl, int siblingId, ui::Control control);

// Appends `item` to the menu pop-up that holds the command `siblingCommand`. Returns false
// when no pop-up holds it.
bool appendMenuItemBeside(ui::Template& tpl, int siblingCommand, ui::MenuItem item);

}  // namespace kx
