// One pass over an object list that may drop elements as it goes.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// ---- functions -------------------------------------------------------------

// Hands every element to `visit` exactly once, in list order; an element for
// which it returns true leaves the list. The survivors keep their order and
// slide down in one stable compaction, so a pass stays linear however many
// elements leave it (an erase per removal would move the tail every time).
// The size is read again before every step: elements appended during the
// pass are visited too.
template <typename T, typename Visit>
void passAndCompact(std::vector<T>& list, const Visit& visit)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (visit(list[i]))
            continue;
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
}
