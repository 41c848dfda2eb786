#pragma once

namespace kx::area {

// The two copies of an area's record that the whole program works with: the snapshot is what
// the adapter is taken to hold, the working copy what the dialogs show and edit. The writer
// sends what differs between them.
template <class Record>
struct Copies {
    Record snapshot{};
    Record working{};

    // A read completed: the dialogs start from what the adapter holds.
    void readDone() { working = snapshot; }
    // A dialog is confirmed: the adapter is taken to hold the working copy as it stood before
    // the dialog's values are stored, so only the dialog's changes differ.
    void takeSnapshot() { snapshot = working; }
    // Both back to zero and empty (the start of a run; tests run several in one process).
    void reset() { *this = Copies{}; }
};

}  // namespace kx::area
