#pragma once

namespace kx::area {

// Set when a write of the area did not complete: the adapter may still hold, for the items not
// acknowledged, what the snapshot says, while the working copy holds the user's change. Until
// the area is read again the snapshot stays as it is, so that change still differs and goes out
// with the next write of its part; a later confirmation must not take it for sent.
struct SnapshotHold {
    bool held = false;
};

// The two copies of an area's record that the whole program works with: the snapshot is what
// the adapter is taken to hold, the working copy what the dialogs show and edit. The writer
// sends what differs between them.
template <class Record>
struct Copies : SnapshotHold {
    Record snapshot{};
    Record working{};

    // A read completed: the dialogs start from what the adapter holds.
    void readDone() {
        working = snapshot;
        held = false;
    }
    // A dialog is confirmed: the adapter is taken to hold the working copy as it stood before
    // the dialog's values are stored, so only the dialog's changes differ. After a write that
    // did not complete (held) the snapshot is kept: what was confirmed since goes out again with
    // its part, which sends nothing the user did not confirm.
    void takeSnapshot() {
        if (!held)
            snapshot = working;
    }
    // Both back to zero and empty (the start of a run; tests run several in one process).
    void reset() { *this = Copies{}; }
};

}  // namespace kx::area
