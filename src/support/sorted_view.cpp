#include "support/sorted_view.h"

#include <algorithm>
#include <numeric>
#include <utility>

SortedView::SortedView(std::shared_ptr<const Collection> source)
    : source_(std::move(source))
    , permutation_(source_->Size())
    , scratch_(source_->Size())
    , inverse_(source_->Size())
{
    std::iota(permutation_.begin(), permutation_.end(), std::size_t(0));
    SortRun(0, permutation_.size());
    for (std::size_t i = 0; i < permutation_.size(); ++i)
        inverse_[permutation_[i]] = i;
}

bool SortedView::Before(std::size_t i, std::size_t j) const
{
    if (i == j)
        return false;
    int order = source_->Type().compare(source_->At(i), source_->At(j));
    return order < 0 || (order == 0 && i < j);
}

void SortedView::SortRun(std::size_t first, std::size_t count)
{
    std::size_t* run = permutation_.data() + first;
    // Swaps the later of two run positions with the earlier one when it goes before it.
    auto order = [&](std::size_t later, std::size_t earlier) {
        if (Before(run[later], run[earlier]))
            std::swap(run[later], run[earlier]);
    };
    switch (count) {
    case 0:
    case 1:
        return;
    case 2:
        order(1, 0);
        return;
    case 3:
        order(1, 0);
        order(2, 1);
        order(1, 0);
        return;
    case 4:
        order(1, 0);
        order(3, 2);
        order(2, 0);
        order(3, 1);
        order(2, 1);
        return;
    default:
        break;
    }

    std::size_t half = count / 2;
    SortRun(first, half);
    SortRun(first + half, count - half);
    std::size_t a = 0, b = half, out = 0;
    std::size_t* merged = scratch_.data() + first;
    while (a < half && b < count)
        merged[out++] = Before(run[a], run[b]) ? run[a++] : run[b++];
    while (a < half)
        merged[out++] = run[a++];
    while (b < count)
        merged[out++] = run[b++];
    std::copy(merged, merged + count, run);
}
