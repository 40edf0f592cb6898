// The order in which a folder's files are printed.
//
// Input: the texts of the list, one per line (a text may hold any byte but the line
// break, NUL included).
//
// Promise checked: the sorted list is the stable sort of the input by the print order
// (each text ends at its first NUL; where bytes differ, "A" to "Z" count as lower case,
// bytes compare unsigned), which also makes it a permutation of the input. The order
// is worked out here on its own, not taken from the station's comparison.

#include "fuzz_check.h"
#include "support/sorted_string_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The text up to its first NUL, with "A" to "Z" folded: two texts compare as these do.
std::string Key(std::string_view text)
{
    std::string key(text.substr(0, text.find('\0')));
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    }
    return key;
}

// The texts in print order, stable.
std::vector<std::string> Sorted(const std::list<std::string>& texts)
{
    std::vector<std::string> keys;
    std::vector<const std::string*> order;
    for (const std::string& text : texts) {
        keys.push_back(Key(text));
        order.push_back(&text);
    }
    std::vector<std::size_t> positions(keys.size());
    std::iota(positions.begin(), positions.end(), std::size_t(0));
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t i, std::size_t j) {
        auto unsignedLess = [](char p, char q) {
            return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
        };
        return std::lexicographical_compare(keys[i].begin(), keys[i].end(), keys[j].begin(),
                                            keys[j].end(), unsignedLess);
    });
    std::vector<std::string> sorted;
    for (std::size_t position : positions)
        sorted.push_back(*order[position]);
    return sorted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::list<std::string> list;
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        list.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }

    const std::vector<std::string> expected = Sorted(list);

    bool sorted = SortStringList(list);
    FUZZ_CHECK(sorted == !expected.empty());
    FUZZ_CHECK(std::vector<std::string>(list.begin(), list.end()) == expected);
    return 0;
}
