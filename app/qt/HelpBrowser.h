#pragma once

#include <memory>

#include "app/HelpPages.h"

namespace kx {

// The help window of the Qt program: one top-level browser window, reused for every page,
// that follows the links between the pages.
class HelpBrowser final : public HelpViewer {
public:
    HelpBrowser();
    ~HelpBrowser() override;
    bool showPage(const std::string& path, std::string& error) override;

private:
    struct Window;
    std::unique_ptr<Window> window_;
};

}  // namespace kx
