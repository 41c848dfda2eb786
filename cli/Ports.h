#pragma once

// kxctl's view of the serial ports: COM1..COM9 with the devices they stand for (the port
// dialog's mapping), and the search for the adapter among them.

#include <ostream>
#include <string>

namespace kx::cli {

// `kxctl ports`: one line per COM port with its device, present or absent, whether this user
// may open it (or who holds it) and its by-id name; with `probe` also whether it answers as
// the adapter. Returns an exit status (0).
int listPorts(bool probe, std::ostream& out);

// `--port auto`: the device of the first COM port that answers as the adapter, or "" with
// `error` set when none does.
std::string findAdapterDevice(std::string& error);

}  // namespace kx::cli
