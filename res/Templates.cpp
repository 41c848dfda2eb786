#include "res/Templates.h"

#include <cstdio>
#include <cstdlib>

namespace kx::res {
namespace {

using Lookup = const ui::Template* (*)(int id);

// One lookup per template file; add an area's here.
constexpr Lookup kLookups[] = {
    &shellTemplate,   &analogTemplate, &shortnumTemplate,
    &digitalTemplate, &arriveTemplate, &routerTemplate,
};

}  // namespace

const ui::Template* findTemplate(int id) {
    for (Lookup lookup : kLookups)
        if (const ui::Template* t = lookup(id))
            return t;
    return nullptr;
}

const ui::Template& dialogTemplate(int id) {
    if (const ui::Template* t = findTemplate(id))
        return *t;
    std::fprintf(stderr, "kx::res: no dialog template %d\n", id);
    std::abort();
}

std::vector<int> templateIds() {
    std::vector<int> ids;
    for (int id = 1; id < 1000; ++id)
        if (findTemplate(id))
            ids.push_back(id);
    return ids;
}

}  // namespace kx::res
