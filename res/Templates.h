#pragma once

// Every dialog template of the program, by template id.
//
// Adding an area's templates: write them in res/<Area>Templates.cpp with a lookup function
// `const ui::Template* <area>Template(int id)` (nullptr for ids not its own), declare it below
// and add it to the table in res/Templates.cpp. Ids go in res/<Area>Ids.h.

#include <vector>

#include "ui/Template.h"

namespace kx::res {

// The template with `id`, or nullptr.
const ui::Template* findTemplate(int id);
// The template with `id`; an unknown id is a programming error and aborts with a message.
const ui::Template& dialogTemplate(int id);
// Every template id, ascending.
std::vector<int> templateIds();

// Per-file lookups (see above).
const ui::Template* shellTemplate(int id);
const ui::Template* analogTemplate(int id);
const ui::Template* shortnumTemplate(int id);
const ui::Template* digitalTemplate(int id);
const ui::Template* arriveTemplate(int id);
const ui::Template* routerTemplate(int id);

}  // namespace kx::res
