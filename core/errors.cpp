#include "core/errors.h"

#include <cstring>

namespace doxel {
namespace {

void appendEscaped(std::string& out, const char* prefix, unsigned value, int digits)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 0xf];
}

// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if (first >= 0xc2 && first <= 0xdf) {
        length = 2;
        minimum = 0x80;
        value = first & 0x1f;
    } else if (first >= 0xe0 && first <= 0xef) {
        length = 3;
        minimum = 0x800;
        value = first & 0x0f;
    } else if (first >= 0xf0 && first <= 0xf4) {
        length = 4;
        minimum = 0x10000;
        value = first & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3f);
    }
    if (value < minimum || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
        return 0;
    return length;
}

}  // namespace

Error::Error(const std::string& message) : std::runtime_error(escapeControls(message))
{
}

Error::Error(const char* message) : std::runtime_error(escapeControls(message))
{
}

std::string escapeControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7f)
                appendEscaped(out, "\\x", c, 2);
            else
                out += static_cast<char>(c);
            ++at;
            continue;
        }
        const std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            appendEscaped(out, "\\x", c, 2);
            ++at;
            continue;
        }
        if (length == 2 && c == 0xc2 && static_cast<unsigned char>(text[at + 1]) < 0xa0)
            appendEscaped(out, "\\u", static_cast<unsigned char>(text[at + 1]), 4);
        else
            out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

FormatError::FormatError(const std::string& file, int line, const std::string& problem)
    : Error(file + ", line " + std::to_string(line) + ": " + problem), m_line(line), m_problem(problem)
{
}

std::string describeErrno(const std::string& action, const std::string& path, int errorNumber)
{
    return action + " " + path + ": " + std::strerror(errorNumber);
}

}  // namespace doxel
