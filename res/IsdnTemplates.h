#pragma once

// Template pieces that the digital and the router area share: a digital port dialog (DATA, USB
// and the router's PNA port), one side of a BOD dialog and one side of a BACP/BAP dialog. Built
// with ui/TemplateBuilder.h; the area template files put them together.

#include <array>
#include <string>

#include "res/IsdnIds.h"
#include "ui/Template.h"

namespace kx::res {

// A digital port dialog: the port's numbers and what it answers to on the left, the numbers it
// calls with on the right.
ui::Template digitalPortTemplate(const DigitalPortIds& ids, std::string caption);

// One side of a BOD dialog in its box `caption`; `action` is "追加" or "削除".
ui::Control bodSide(const BodSideIds& ids, std::string caption, const std::string& action);

// One side of a BACP/BAP dialog: the three requests, each refused or answered.
ui::Control bacpSide(std::string caption, const std::array<std::array<int, 2>, 3>& ids);

}  // namespace kx::res
