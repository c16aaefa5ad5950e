#include "output/compiled_help_check.h"

#include <cerrno>
#include <filesystem>
#include <iconv.h>

#include "core/errors.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "output/local_value.h"

namespace doxel {
namespace {

constexpr std::string_view kDefaultCodePage = "WINDOWS-1252";

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i > 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
    return value;
}

std::string untilNul(std::string_view data)
{
    return std::string(data.substr(0, data.find('\0')));
}

// Converts one text from a code page to UTF-8, reusing one conversion for
// every text of a help file. A text that does not convert is kept as it is.
class ToUtf8 {
public:
    explicit ToUtf8(const std::string& codePage) : m_convert(::iconv_open("UTF-8", codePage.c_str()))
    {
        if (m_convert == invalid())
            m_convert = ::iconv_open("UTF-8", std::string(kDefaultCodePage).c_str());
    }
    ~ToUtf8()
    {
        if (m_convert != invalid())
            ::iconv_close(m_convert);
    }
    ToUtf8(const ToUtf8&) = delete;
    ToUtf8& operator=(const ToUtf8&) = delete;

    std::string operator()(std::string_view text)
    {
        bool ascii = true;
        for (const char c : text)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii || m_convert == invalid())
            return std::string(text);
        ::iconv(m_convert, nullptr, nullptr, nullptr, nullptr);
        std::string out(text.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* to = out.data();
        std::size_t outLeft = out.size();
        if (::iconv(m_convert, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1))
            return std::string(text);
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t m_convert;
};

void appendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character references a sitemap value may hold: the four that its
// writers escape, "&apos;", and numeric ones. Anything else stays as text.
std::string decodeReferences(std::string_view text)
{
    if (text.find('&') == std::string_view::npos)
        return std::string(text);
    static const std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        bool decoded = false;
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            std::uint32_t value = 0;
            bool valid = !digits.empty();
            for (const char d : digits) {
                const int digit = d >= '0' && d <= '9'          ? d - '0'
                                  : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                                  : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                                : -1;
                valid = valid && digit >= 0;
                if (valid)
                    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            }
            if (valid && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)) {
                appendUtf8(out, value);
                decoded = true;
            }
        } else {
            for (const auto& [entity, character] : kNamed) {
                if (name == entity) {
                    out += character;
                    decoded = true;
                }
            }
        }
        if (decoded)
            i = semicolon;
        else
            out += text[i];
    }
    return out;
}

// The value of attribute `name` in a tag whose text is `tag` (letter case of
// the attribute ignored); nothing when it is not there.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view lowerTag, std::string_view name)
{
    std::size_t at = 0;
    while ((at = lowerTag.find(name, at)) != std::string_view::npos) {
        const bool starts = at > 0 && (lowerTag[at - 1] == ' ' || lowerTag[at - 1] == '\t' ||
                                       lowerTag[at - 1] == '\n' || lowerTag[at - 1] == '\r');
        std::size_t p = at + name.size();
        at = p;
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t'))
            ++p;
        if (!starts || p >= tag.size() || tag[p] != '=')
            continue;
        ++p;
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t'))
            ++p;
        if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
            const std::size_t close = tag.find(tag[p], p + 1);
            if (close == std::string_view::npos)
                return tag.substr(p + 1);
            return tag.substr(p + 1, close - p - 1);
        }
        std::size_t end = p;
        while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '>')
            ++end;
        return tag.substr(p, end - p);
    }
    return std::nullopt;
}

bool isAddress(std::string_view path)
{
    const std::size_t colon = path.find(':');
    return colon != std::string_view::npos && colon < path.find('/');
}

}  // namespace

HelpSystemInfo parseHelpSystemFile(std::string_view bytes)
{
    HelpSystemInfo info;
    std::size_t at = 4;  // the version of the file's layout
    while (at + 4 <= bytes.size()) {
        const std::uint32_t code = littleEndian(bytes, at, 2);
        const std::size_t length = littleEndian(bytes, at + 2, 2);
        at += 4;
        if (length > bytes.size() - at)
            break;
        const std::string_view data = bytes.substr(at, length);
        at += length;
        switch (code) {
        case 0:
            info.contentsFile = untilNul(data);
            break;
        case 1:
            info.indexFile = untilNul(data);
            break;
        case 2:
            info.defaultTopic = untilNul(data);
            break;
        case 4:
            if (data.size() >= 4)
                info.languageId = littleEndian(data, 0, 4);
            break;
        default:
            break;
        }
    }
    return info;
}

std::vector<SitemapLink> sitemapLinks(std::string_view text)
{
    std::vector<SitemapLink> links;
    const std::string lower = asciiLower(text);
    const std::string_view lowerText(lower);
    std::size_t object = lowerText.find("<object");
    while (object != std::string_view::npos) {
        const std::size_t next = lowerText.find("<object", object + 7);
        const std::size_t end = std::min(lowerText.find("</object", object), next);
        std::string name;
        bool named = false;
        const std::size_t firstLink = links.size();
        for (std::size_t at = lowerText.find("<param", object); at < end; at = lowerText.find("<param", at + 6)) {
            const std::size_t close = std::min(lowerText.find('>', at), text.size());
            const std::string_view tag = text.substr(at, close - at);
            const std::string_view lowerTag = lowerText.substr(at, close - at);
            const auto kind = attribute(tag, lowerTag, "name");
            const auto value = attribute(tag, lowerTag, "value");
            if (!kind || !value)
                continue;
            const std::string key = asciiLower(*kind);
            if (key == "name" && !named) {
                name = std::string(*value);
                named = true;
            } else if (key == "local") {
                links.push_back({{}, std::string(*value)});
            }
        }
        for (std::size_t i = firstLink; i < links.size(); ++i)
            links[i].name = name;
        object = next;
    }
    return links;
}

namespace {

std::string storedPath(std::string_view local, ToUtf8& toUtf8)
{
    const std::string decoded = decodeReferences(toUtf8(local));
    if (isAddress(decoded))
        return {};
    const std::string file = filePartOfLocal(decoded);
    const std::string_view path(file);
    if (path.empty())
        return {};
    std::string absolute = path.starts_with('/') ? std::string(path) : "/" + std::string(path);
    // "./" and "a/../" name what a viewer's own path handling makes of them.
    if (absolute.find("/.") != std::string::npos)
        absolute = std::filesystem::path(absolute).lexically_normal().generic_string();
    return absolute;
}

std::string fileAtTop(const std::string& stored, const std::string& fallback)
{
    const std::string& name = stored.empty() ? fallback : stored;
    if (name.empty())
        return {};
    return name.starts_with('/') ? name : "/" + name;
}

}  // namespace

std::string decodedLocal(std::string_view local, const std::string& codePage)
{
    ToUtf8 toUtf8(codePage);
    return decodeReferences(toUtf8(local));
}

std::string storedPathOfLocal(std::string_view local, const std::string& codePage)
{
    ToUtf8 toUtf8(codePage);
    return storedPath(local, toUtf8);
}

std::vector<std::string> checkHelpFileLinks(const CompiledHelpFile& help, const std::string& contentsFile,
                                            const std::string& indexFile, std::string codePage,
                                            const std::function<void()>& tick)
{
    HelpSystemInfo system;
    if (const std::optional<std::string> bytes = help.read("/#SYSTEM"))
        system = parseHelpSystemFile(*bytes);
    if (codePage.empty())
        codePage = codePageForLanguageId(static_cast<int>(system.languageId)).iconvName;
    ToUtf8 toUtf8(codePage);

    std::vector<std::string> lines;
    const auto check = [&](const std::string& what, std::string_view local) {
        if (tick)
            tick();
        const std::string path = storedPath(local, toUtf8);
        if (!path.empty() && !help.contains(path))
            lines.push_back("Warning: " + what + " leads to " + toUtf8(local) + ", which the help file does not hold");
    };
    const struct {
        std::string file;
        const char* what;
    } sitemaps[] = {{fileAtTop(system.contentsFile, contentsFile), "Contents entry"},
                    {fileAtTop(system.indexFile, indexFile), "Keyword"}};
    for (const auto& sitemap : sitemaps) {
        if (sitemap.file.empty())
            continue;
        const std::optional<std::string> text = help.read(sitemap.file);
        if (!text) {
            lines.push_back("Warning: The help file holds no " + sitemap.file.substr(1) +
                            "; help viewers will not find it");
            continue;
        }
        for (const SitemapLink& link : sitemapLinks(*text))
            check(std::string(sitemap.what) + " \"" + decodeReferences(toUtf8(link.name)) + "\"", link.local);
    }
    // A default topic never chosen is no link.
    if (!system.defaultTopic.empty() && system.defaultTopic != "(not defined)")
        check("The default topic", system.defaultTopic);
    return lines;
}

}  // namespace doxel
