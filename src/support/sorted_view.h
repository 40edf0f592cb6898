// A sorted view of a collection: a permutation of the source's positions in the order
// of the source type's comparison, and its inverse. Entries that compare equal keep
// their order from the source, because the position is the last key.
#pragma once

#include "support/collection.h"

#include <memory>
#include <vector>

class SortedView {
public:
    // Sorts at once; the view keeps a share of the source.
    explicit SortedView(std::shared_ptr<const Collection> source);

    std::size_t Size() const { return permutation_.size(); }
    // The source position shown at a position of the view.
    std::size_t SourcePosition(std::size_t viewPosition) const { return permutation_[viewPosition]; }
    // The position of the view that shows a source position.
    std::size_t ViewPosition(std::size_t sourcePosition) const { return inverse_[sourcePosition]; }

private:
    // True when source position i goes before source position j.
    bool Before(std::size_t i, std::size_t j) const;
    // Merge sort of permutation_[first, first + count).
    void SortRun(std::size_t first, std::size_t count);

    std::shared_ptr<const Collection> source_;
    std::vector<std::size_t> permutation_;
    std::vector<std::size_t> scratch_;
    std::vector<std::size_t> inverse_;
};
