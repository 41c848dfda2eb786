// kestrelx-gallery TEMPLATE_ID FILE.png: renders a dialog template as it is created, without a
// display (Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise), so that layouts can
// be reviewed as pictures. "kestrelx-gallery --list" prints the template ids.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/Templates.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"
#include "ui/qt/QtBackend.h"

int main(int argc, char** argv) {
    using namespace kx;
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (int id : res::templateIds()) std::printf("%d\n", id);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrelx-gallery TEMPLATE_ID FILE.png | --list\n");
        return 2;
    }
    int id = 0;
    const char* end = argv[1] + std::strlen(argv[1]);
    if (std::from_chars(argv[1], end, id).ptr != end) {
        std::fprintf(stderr, "kestrelx-gallery: %s is not a template id\n", argv[1]);
        return 2;
    }
    const ui::Template* tpl = res::findTemplate(id);
    if (!tpl) {
        std::fprintf(stderr, "kestrelx-gallery: no template %d\n", id);
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::qt::install(argc, argv);
    bool saved = false;
    {
        ui::Dialog dialog(*tpl);
        dialog.Create(nullptr);
        // let the layout settle before the picture is taken
        ui::pumpUntil([] { return false; }, ui::Clock::now() + std::chrono::milliseconds(50));
        saved = ui::qt::saveWindowImage(dialog, argv[2]);
    }
    ui::installBackend(nullptr);
    if (!saved) {
        std::fprintf(stderr, "kestrelx-gallery: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
