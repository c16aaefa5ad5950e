#include "core/plain_path.h"

#include <algorithm>
#include <vector>

#include "core/path_rules.h"

namespace doxel {

std::string forwardSlashes(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string plainRelativePath(std::string_view relative)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t end = std::min(relative.find_first_of("/\\", start), relative.size());
        const std::string_view part = relative.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string_view part : parts) {
        if (!path.empty())
            path += '/';
        path += part;
    }
    return path;
}

std::string percentDecoded(std::string_view text, LonePercent lone)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else if (text[i] == '%' && lone == LonePercent::DropWithNext) {
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace doxel
