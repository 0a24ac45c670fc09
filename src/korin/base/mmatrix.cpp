#include "korin/base/mmatrix.h"

namespace korin {

mmatrix::mmatrix(const mmatrix& other) {
    rows_.reserve(other.rows_.size());
    for (const auto& row : other.rows_)
        rows_.push_back(std::make_unique<mvect>(*row));
}

mmatrix& mmatrix::operator=(const mmatrix& other) {
    if (this == &other) return *this;
    // Rows already here are overwritten in place (a filter's sections are
    // replaced by rows of the same count on every design); others are added or
    // deleted from the last.
    while (rows_.size() > other.rows_.size())
        rows_.pop_back();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        *rows_[i] = *other.rows_[i];
    for (std::size_t i = rows_.size(); i < other.rows_.size(); ++i) {
        rows_.push_back(std::make_unique<mvect>(*other.rows_[i]));
    }
    return *this;
}

mmatrix::~mmatrix() {
    Clear();
}

void mmatrix::Quantize(std::int32_t fracBits) {
    for (auto& row : rows_)
        row->Quantize(fracBits);
}

void mmatrix::RoundToFloat() {
    for (auto& row : rows_)
        row->RoundToFloat();
}

mvect& mmatrix::AddRow() {
    rows_.push_back(std::make_unique<mvect>());
    return *rows_.back();
}

void mmatrix::Clear() {
    while (!rows_.empty())
        rows_.pop_back();
}

bool mmatrix::IsReal() const {
    for (const auto& row : rows_) {
        if (!row->IsReal()) return false;
    }
    return true;
}

} // namespace korin
