#pragma once
// CUndo: undo and redo by whole snapshots. Each entry is the complete project
// stream, stored and restored through the document's own Serialize, so undo
// needs no knowledge of what changed. Snapshots keep complex values exact
// (without the file's offset), so a restored state is the state that was saved.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace fw {
class Archive;
}

namespace tarvo {

class CUndo {
public:
    // Earlier states kept besides the current one.
    static constexpr std::size_t kCapacity = 10;

    CUndo() = default;
    CUndo(const CUndo&) = delete;
    CUndo& operator=(const CUndo&) = delete;
    virtual ~CUndo() = default;

    // The owner's stream routine and clearing routine.
    virtual void Serialize(fw::Archive& ar) = 0;
    virtual void DeleteContents() = 0;

    // Records the current state as the newest undo entry (dropping the oldest
    // beyond the capacity) and forgets every redo entry.
    void CheckPoint();
    // With more than one entry: moves the newest to the redo list and restores
    // the one before it. Returns whether it did; a restore that fails to load
    // throws fw::ArchiveError and leaves whatever had been read.
    bool Undo();
    // With a redo entry: makes the most recently undone one the newest undo
    // entry again and restores it.
    bool Redo();

    bool CanUndo() const { return undo_.size() > 1; }
    bool CanRedo() const { return !redo_.empty(); }
    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }

private:
    using Snapshot = std::vector<std::uint8_t>;

    // Clears the owner and loads the snapshot through Serialize.
    void Restore(const Snapshot& snapshot);
    void TrimUndo();

    std::deque<Snapshot> undo_; // newest at the front
    std::deque<Snapshot> redo_; // most recently undone at the front
};

} // namespace tarvo
