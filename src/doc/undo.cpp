#include "doc/undo.h"

#include "fw/archive.h"

namespace tarvo {

void CUndo::TrimUndo() {
    if (undo_.size() > kCapacity) undo_.pop_back();
}

void CUndo::CheckPoint() {
    fw::Archive ar = fw::Archive::ForStoring();
    // A snapshot restores the state bit for bit, small coefficients included.
    ar.SetExactComplex();
    Serialize(ar);
    TrimUndo();
    undo_.push_front(ar.TakeBuffer());
    redo_.clear();
}

void CUndo::Restore(const Snapshot& snapshot) {
    DeleteContents();
    fw::Archive ar = fw::Archive::ForLoading(snapshot);
    ar.SetExactComplex();
    Serialize(ar);
}

bool CUndo::Undo() {
    if (undo_.size() <= 1) return false;
    redo_.push_front(std::move(undo_.front()));
    undo_.pop_front();
    Restore(undo_.front());
    return true;
}

bool CUndo::Redo() {
    if (redo_.empty()) return false;
    Snapshot taken = std::move(redo_.front());
    redo_.pop_front();
    TrimUndo();
    undo_.push_front(std::move(taken));
    Restore(undo_.front());
    return true;
}

} // namespace tarvo
