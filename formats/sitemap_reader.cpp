#include "formats/sitemap_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/errors.h"
#include "core/path_rules.h"
#include "core/project.h"
#include "formats/character_references.h"

namespace doxel {
namespace {

// Generators put the <meta> tag near the top; looking further would find
// "charset" in captions.
constexpr std::size_t kCharsetSearchLimit = 8192;

bool equalsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (asciiLower(text[i]) != lower[i])
            return false;
    }
    return true;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == ':';
}

// The character set named by a <meta> tag near the top, upper-cased, or
// empty.
std::string declaredCharset(std::string_view bytes)
{
    std::string head(bytes.substr(0, kCharsetSearchLimit));
    head = asciiLower(head);
    for (std::size_t at = head.find("charset"); at != std::string::npos; at = head.find("charset", at + 7)) {
        const std::size_t meta = head.rfind("<meta", at);
        if (meta == std::string::npos || head.find('>', meta) < at)
            continue;
        std::size_t p = at + 7;
        while (p < head.size() && isSpace(head[p]))
            ++p;
        if (p >= head.size() || head[p] != '=')
            continue;
        ++p;
        while (p < head.size() && (isSpace(head[p]) || head[p] == '"' || head[p] == '\''))
            ++p;
        std::size_t end = p;
        while (end < head.size() && (isNameChar(head[end]) || head[end] == '.'))
            ++end;
        std::string name = head.substr(p, end - p);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        if (!name.empty())
            return name;
    }
    return {};
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class Parser {
public:
    Parser(std::string_view text, Sitemap& result, const std::string& fileName, bool decode)
        : m_text(text), m_result(result), m_fileName(fileName), m_decode(decode)
    {
    }

    void run();

private:
    struct Attribute {
        std::string_view name;
        std::string_view value;
    };

    int lineOf(std::size_t offset);
    void note(std::size_t offset, std::string text) { m_result.notes.push_back({lineOf(offset), std::move(text)}); }
    // Reads the attributes of the tag whose name ends at `pos`; returns the
    // offset after its ">". Calls attribute(name, value) for each.
    template <typename Visit>
    std::size_t readAttributes(std::size_t pos, Visit&& attribute);
    void openObject(std::size_t offset, bool sitemap, bool properties = false);
    void closeObject();
    void param(std::size_t offset, std::string_view name, std::string_view value);

    std::string_view m_text;
    Sitemap& m_result;
    const std::string& m_fileName;
    bool m_decode;
    std::size_t m_lineOffset = 0;
    int m_line = 1;
    std::size_t m_depth = 0;

    bool m_inObject = false;
    bool m_sitemapObject = false;
    bool m_propertiesObject = false;
    bool m_haveName = false;
    bool m_haveLocal = false;
    bool m_laterPair = false;
    SitemapEntry m_entry;
};

int Parser::lineOf(std::size_t offset)
{
    if (offset < m_lineOffset) {
        m_lineOffset = 0;
        m_line = 1;
    }
    m_line += static_cast<int>(std::count(m_text.begin() + static_cast<std::ptrdiff_t>(m_lineOffset),
                                          m_text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    m_lineOffset = offset;
    return m_line;
}

template <typename Visit>
std::size_t Parser::readAttributes(std::size_t pos, Visit&& attribute)
{
    const std::size_t size = m_text.size();
    while (pos < size) {
        while (pos < size && (isSpace(m_text[pos]) || m_text[pos] == '/'))
            ++pos;
        if (pos >= size)
            break;
        if (m_text[pos] == '>')
            return pos + 1;
        const std::size_t nameStart = pos;
        while (pos < size && !isSpace(m_text[pos]) && m_text[pos] != '=' && m_text[pos] != '>')
            ++pos;
        const std::string_view name = m_text.substr(nameStart, pos - nameStart);
        while (pos < size && isSpace(m_text[pos]))
            ++pos;
        std::string_view value;
        if (pos < size && m_text[pos] == '=') {
            ++pos;
            while (pos < size && isSpace(m_text[pos]))
                ++pos;
            if (pos < size && (m_text[pos] == '"' || m_text[pos] == '\'')) {
                const char quote = m_text[pos++];
                const std::size_t close = m_text.find(quote, pos);
                // Only the stretch up to the closing quote is searched for a
                // line end, so that a file without line ends stays linear.
                const std::size_t lineEnd = m_text.substr(0, close).find('\n', pos);
                if (close != std::string_view::npos && lineEnd == std::string_view::npos) {
                    value = m_text.substr(pos, close - pos);
                    pos = close + 1;
                } else {
                    // A quote left open: the value ends with the tag, on its line.
                    std::size_t end = m_text.find('>', pos);
                    end = std::min(end, m_text.find('\n', pos));
                    if (end == std::string_view::npos)
                        end = size;
                    note(nameStart, "a quoted value is not closed on its line");
                    value = m_text.substr(pos, end - pos);
                    pos = end;
                }
            } else {
                const std::size_t start = pos;
                while (pos < size && !isSpace(m_text[pos]) && m_text[pos] != '>')
                    ++pos;
                value = m_text.substr(start, pos - start);
            }
        }
        if (!name.empty())
            attribute(name, value);
    }
    return size;
}

void Parser::openObject(std::size_t offset, bool sitemap, bool properties)
{
    if (m_inObject)
        closeObject();
    m_inObject = true;
    m_sitemapObject = sitemap;
    m_propertiesObject = properties;
    m_haveName = m_haveLocal = m_laterPair = false;
    m_entry = SitemapEntry();
    m_entry.level = static_cast<int>(std::min<std::size_t>(m_depth == 0 ? 0 : m_depth - 1, 1'000'000'000));
    m_entry.line = lineOf(offset);
}

void Parser::closeObject()
{
    if (m_inObject && m_sitemapObject && (m_haveName || m_haveLocal))
        m_result.entries.push_back(std::move(m_entry));
    m_inObject = false;
    m_sitemapObject = false;
    m_propertiesObject = false;
}

void Parser::param(std::size_t offset, std::string_view name, std::string_view rawValue)
{
    if (!m_inObject || (!m_sitemapObject && !m_propertiesObject))
        return;
    const std::string value = !m_decode || rawValue.find('&') == std::string_view::npos
                                  ? std::string(rawValue)
                                  : decodeCharacterReferences(rawValue, {.inAttribute = true});
    if (m_propertiesObject) {
        m_result.properties.emplace_back(name, value);
        return;
    }
    // Sphinx names its index entries "Keyword".
    if (equalsIgnoringCase(name, "name") || equalsIgnoringCase(name, "keyword")) {
        if (!m_haveName) {
            m_entry.name = value;
            m_haveName = true;
        } else {
            m_laterPair = true;
        }
    } else if (equalsIgnoringCase(name, "local")) {
        if (!m_haveLocal && !m_laterPair) {
            m_entry.local = value;
            m_haveLocal = true;
        } else {
            m_entry.moreLocals.push_back(value);
        }
    } else if (equalsIgnoringCase(name, "imagenumber")) {
        int number = -1;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        m_entry.imageNumber = error == std::errc() && number >= 0 ? number : -1;
    } else if (equalsIgnoringCase(name, "merge")) {
        note(offset, "\"Merge\" " + value + ": merged help files are not taken over");
    } else if (equalsIgnoringCase(name, "url")) {
        note(offset, "\"URL\" " + value + ": addresses of other help files are not taken over");
    } else if (equalsIgnoringCase(name, "see also")) {
        // A keyword that refers to itself only gathers its sub-keywords.
        if (value != m_entry.name)
            note(offset, "\"See Also\" " + value + ": cross-references of the index are not taken over");
    }
}

void Parser::run()
{
    const std::size_t size = m_text.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t lt = m_text.find('<', pos);
        if (lt == std::string_view::npos)
            break;
        if (m_text.compare(lt, 4, "<!--") == 0) {
            const std::size_t end = m_text.find("-->", lt + 4);
            if (end == std::string_view::npos) {
                note(lt, "a comment is not closed; the rest of the file is part of it");
                break;
            }
            pos = end + 3;
            continue;
        }
        std::size_t p = lt + 1;
        const bool closing = p < size && m_text[p] == '/';
        if (closing)
            ++p;
        const std::size_t nameStart = p;
        while (p < size && isNameChar(m_text[p]))
            ++p;
        const std::string_view tag = m_text.substr(nameStart, p - nameStart);
        if (tag.empty()) {
            // "<!DOCTYPE ...>", "<?xml ...?>" or a lone "<".
            const bool declaration = p < size && (m_text[p] == '!' || m_text[p] == '?');
            pos = declaration ? std::min(m_text.find('>', p), size) : lt + 1;
            continue;
        }
        if (equalsIgnoringCase(tag, "param")) {
            std::string_view name;
            std::string_view value;
            pos = readAttributes(p, [&](std::string_view key, std::string_view text) {
                if (equalsIgnoringCase(key, "name"))
                    name = text;
                else if (equalsIgnoringCase(key, "value"))
                    value = text;
            });
            param(lt, name, value);
        } else if (equalsIgnoringCase(tag, "object")) {
            if (closing) {
                if (!m_inObject)
                    note(lt, "</OBJECT> without its <OBJECT>");
                closeObject();
                pos = readAttributes(p, [](std::string_view, std::string_view) {});
            } else {
                std::string_view type;
                pos = readAttributes(p, [&](std::string_view key, std::string_view text) {
                    if (equalsIgnoringCase(key, "type"))
                        type = text;
                });
                openObject(lt, equalsIgnoringCase(type, "text/sitemap"),
                           equalsIgnoringCase(type, "text/site properties"));
            }
        } else {
            if (equalsIgnoringCase(tag, "ul") || equalsIgnoringCase(tag, "ol")) {
                // A list tag inside an object means its </OBJECT> is missing.
                if (m_inObject)
                    closeObject();
                // Below the project's title entry, one level less than a
                // project holds is left for the lists.
                if (!closing && m_depth + 1 >= static_cast<std::size_t>(kMaxContentsDepth))
                    throw FormatError(m_fileName, lineOf(lt),
                                      "the lists nest deeper than " + std::to_string(kMaxContentsDepth - 1) +
                                          " levels, more than a project can hold");
                if (!closing)
                    ++m_depth;
                else if (m_depth > 0)
                    --m_depth;
                else
                    note(lt, "</UL> without its <UL>");
            } else if (equalsIgnoringCase(tag, "li") && m_inObject) {
                closeObject();
            }
            pos = readAttributes(p, [](std::string_view, std::string_view) {});
        }
    }
    if (m_inObject) {
        if (m_sitemapObject)
            note(size, "the last <OBJECT> is not closed");
        closeObject();
    }
}

}  // namespace

std::string sitemapEncoding(std::string_view bytes, const CodePage* projectCodePage)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return "UTF-16";
    std::string declared = declaredCharset(bytes);
    if (declared == "UTF8")
        declared = "UTF-8";
    // Browsers read pages that declare Latin-1 or ASCII as Windows-1252.
    if (declared == "ISO-8859-1" || declared == "US-ASCII" || declared == "LATIN1" || declared == "ASCII")
        declared = "CP1252";
    if (declared.starts_with("WINDOWS-"))
        declared = "CP" + declared.substr(8);
    if (!declared.empty())
        return declared;
    if (!isAscii(bytes) && isValidUtf8(bytes))
        return "UTF-8";
    return projectCodePage != nullptr ? projectCodePage->iconvName : windows1252().iconvName;
}

Sitemap readSitemap(std::string_view bytes, const CodePage* projectCodePage, const std::string& fileName)
{
    Sitemap result;
    result.encoding = sitemapEncoding(bytes, projectCodePage);
    if (result.encoding != "UTF-16") {
        if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data());
            const auto line =
                static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
            throw FormatError(fileName, line, "this is not a text file (it holds a zero byte)");
        }
    }
    std::string converted;
    std::string_view text = bytes;
    if (result.encoding == "UTF-8") {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        if (!isValidUtf8(text)) {
            converted = toUtf8(text, "UTF-8");
            text = converted;
        }
    } else {
        try {
            converted = toUtf8(bytes, result.encoding.c_str());
        } catch (const ConversionError&) {
            result.notes.push_back(
                {1, "the character set " + result.encoding + " is unknown here; the file is read as Windows-1252"});
            result.encoding = windows1252().iconvName;
            converted = toUtf8(bytes, result.encoding.c_str());
        }
        if (converted.starts_with("\xEF\xBB\xBF"))
            converted.erase(0, 3);
        text = converted;
    }
    // About one object in every hundred and fifty bytes; reserving spares
    // the copies of a growing list.
    result.entries.reserve(std::min<std::size_t>(text.size() / 150, 4'000'000));
    Parser(text, result, fileName, true).run();
    return result;
}

Sitemap readSitemapAsWritten(std::string_view text, const std::string& fileName)
{
    Sitemap result;
    Parser(text, result, fileName, false).run();
    return result;
}

}  // namespace doxel
