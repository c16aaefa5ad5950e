#include "formats/local_value.h"

#include <algorithm>

#include "core/path_rules.h"
#include "core/plain_path.h"

namespace doxel {

std::string localValueOf(std::string_view path)
{
    std::string out;
    out.reserve(path.size() + 8);
    appendLocalValue(out, path);
    return out;
}

void appendLocalValue(std::string& out, std::string_view path)
{
    const std::size_t anchor = path.find('#');
    std::size_t plain = 0;  // start of the run of characters that go in as they are
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const char* escaped = c == '&' ? "&amp;" : c == '%' ? "%25" : c == '?' && i < anchor ? "%3F" : nullptr;
        if (escaped == nullptr)
            continue;
        out.append(path.data() + plain, i - plain);
        out += escaped;
        plain = i + 1;
    }
    out.append(path.data() + plain, path.size() - plain);
}

std::string filePartOfLocal(std::string_view decoded)
{
    return percentDecoded(decoded.substr(0, std::min(decoded.find('#'), decoded.find('?'))), LonePercent::DropWithNext);
}

std::string urlOfFileName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        if (c == '%')
            out += "%25";
        else if (c == '?')
            out += "%3F";
        else if (c == '#')
            out += "%23";
        else
            out += c;
    }
    return out;
}

}  // namespace doxel
