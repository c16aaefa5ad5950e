#include "formats/address.h"

namespace doxel {

bool isAddress(std::string_view target)
{
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    std::size_t i = 0;
    while (i < target.size() &&
           (isLetter(target[i]) || (i > 0 && ((target[i] >= '0' && target[i] <= '9') || target[i] == '-' ||
                                              target[i] == '+' || target[i] == '.'))))
        ++i;
    return i >= 2 && i < target.size() && target[i] == ':';
}

}  // namespace doxel
