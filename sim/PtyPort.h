#pragma once

#include <string>

namespace kx::sim {

// The serial side: a pseudo-terminal pair in raw mode. The program opens the slave like a
// serial device; the emulator reads and writes the master.
//
// The emulator keeps a descriptor of the slave open itself, so the master never sees a hang-up
// while no program has the port open (on Linux a master without any slave open polls as
// POLLHUP for ever, which would make the serving loop spin); programs can close and reopen the
// port between runs. That open descriptor also keeps the tty alive across the program's runs,
// and with it the exclusive mode the program sets (TIOCEXCL) which the kernel would otherwise
// drop at the last close: so the port watches for the program closing its descriptor and
// clears the exclusive mode then, or the next run could not open the port.
class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Creates the pair; with a non-empty `link`, a symlink there points at the slave (an
    // existing symlink is replaced, any other file is left alone and fails the open).
    bool open(const std::string& link, std::string& error);
    // Closes the pair (the program's descriptor sees the line hang up) and removes the link.
    void close();

    int master() const { return master_; }
    // Readable when a program closed its descriptor of the slave; then call peerClosed().
    int closeWatch() const { return closeWatch_; }
    void peerClosed();
    int slave() const { return slave_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& link() const { return link_; }

private:
    int master_ = -1;
    int slave_ = -1;
    int closeWatch_ = -1;  // inotify
    std::string slavePath_;
    std::string link_;
};

}  // namespace kx::sim
