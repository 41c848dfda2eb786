#pragma once

// The settings document of what the areas' readers left in the records (their snapshots): the
// document kxctl backup writes, with the same names and format. It is made by kxctl's document
// code, which the program's area registration installs here (app/program/AllAreas.cpp), so the
// main window writes documents without knowing a field.

#include <functional>
#include <string>
#include <vector>

namespace kx {

// `areas`: kxctl's area names ("analog", ..., "router"), in order; `header`: the comment lines
// at the top; `missing`: the record members the readers reported without their labels, left
// out as in a backup.
using SettingsDocumentFn = std::function<std::string(const std::vector<std::string>& areas,
                                                     const std::vector<std::string>& header,
                                                     const std::vector<const void*>& missing)>;

void setSettingsDocument(SettingsDocumentFn make);
// Empty until installed.
const SettingsDocumentFn& settingsDocument();

}  // namespace kx
