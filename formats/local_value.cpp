#include "formats/local_value.h"

#include <algorithm>

#include "core/path_rules.h"

namespace doxel {
namespace {

// A "%" that starts no escape is dropped with the character after it, as
// viewers do ("100% sure.htm" leads to "100sure.htm").
std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else if (text[i] == '%') {
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string localValueOf(std::string_view path)
{
    const std::size_t anchor = path.find('#');
    std::string out;
    out.reserve(path.size() + 8);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '%')
            out += "%25";
        else if (c == '?' && i < anchor)
            out += "%3F";
        else
            out += c;
    }
    return out;
}

std::string filePartOfLocal(std::string_view decoded)
{
    return percentDecoded(decoded.substr(0, std::min(decoded.find('#'), decoded.find('?'))));
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
