#include "core/help_ids.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace doxel {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

bool isHelpIdName(std::string_view name)
{
    if (name.empty() || isAsciiDigit(name.front()))
        return false;
    return std::ranges::all_of(name, [](char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '_'; });
}

std::uint32_t helpIdNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return 0;
    return value >= 1 && value <= kMaxHelpIdNumber ? static_cast<std::uint32_t>(value) : 0;
}

std::uint32_t nextFreeHelpIdNumber(std::span<const HelpId> ids)
{
    if (ids.empty())
        return 1000;
    std::uint32_t largest = 0;
    for (const HelpId& id : ids)
        largest = std::max(largest, id.number);
    if (largest < kMaxHelpIdNumber)
        return largest + 1;
    std::vector<std::uint32_t> numbers;
    numbers.reserve(ids.size());
    for (const HelpId& id : ids)
        numbers.push_back(id.number);
    std::ranges::sort(numbers);
    std::uint32_t candidate = 1;
    for (std::uint32_t number : numbers) {
        if (number > candidate)
            break;
        if (number == candidate)
            ++candidate;
    }
    return candidate;
}

}  // namespace doxel
