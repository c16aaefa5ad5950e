#include "compiler/fulltext/page_text.h"

#include <algorithm>
#include <array>

#include "editing/html_entities.h"

namespace doxel::chm {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// Elements that flow within a line of text: a word may run across them.
constexpr std::array<std::string_view, 27> kInlineElements = {
    "a",    "abbr", "acronym", "b", "bdi",  "bdo",   "big",  "cite",   "code",   "dfn", "em",  "font", "i", "kbd",
    "mark", "nobr", "q",       "s", "samp", "small", "span", "strike", "strong", "sub", "sup", "tt",   "u",
};

bool isInline(std::string_view name)
{
    return name == "wbr" || std::any_of(kInlineElements.begin(), kInlineElements.end(),
                                        [name](std::string_view e) { return equalsIgnoringCase(e, name); });
}

// Where the tag that starts at `at` ("<" then a name or "/") ends: after its
// ">", skipping quoted attribute values, which may hold ">".
std::size_t endOfTag(std::string_view html, std::size_t at)
{
    char quote = 0;
    for (std::size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            // Only a quote that opens an attribute value counts; a stray one
            // in a name would otherwise swallow the rest of the page.
            std::size_t before = i;
            while (before > at && (html[before - 1] == ' ' || html[before - 1] == '\t' || html[before - 1] == '\n' ||
                                   html[before - 1] == '\r'))
                --before;
            if (before > at && html[before - 1] == '=')
                quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return html.size();
}

// After the element whose content is not text ("<script" at `from`): after
// its end tag, or the end of the page when it has none.
std::size_t endOfRawElement(std::string_view html, std::size_t from, std::string_view name)
{
    for (std::size_t at = html.find("</", from); at != std::string_view::npos; at = html.find("</", at + 2)) {
        const std::string_view candidate = html.substr(at + 2, name.size());
        const std::size_t after = at + 2 + name.size();
        if (equalsIgnoringCase(candidate, name) && (after >= html.size() || !isAsciiLetter(html[after])))
            return endOfTag(html, at);
    }
    return html.size();
}

}  // namespace

std::string visiblePageText(std::string_view html)
{
    std::string text;
    text.reserve(html.size() / 2);
    std::size_t runStart = 0;
    auto endRun = [&](std::size_t end) {
        const std::string_view run = html.substr(runStart, end - runStart);
        if (run.find('&') == std::string_view::npos)
            text.append(run);
        else
            text.append(decodeHtmlReferences(run));
    };

    std::size_t pos = html.find('<');
    while (pos != std::string_view::npos) {
        const std::size_t next = pos + 1;
        std::size_t resume = std::string_view::npos;
        bool separates = true;
        if (html.compare(next, 3, "!--") == 0) {
            const std::size_t close = html.find("-->", next + 3);
            resume = close == std::string_view::npos ? html.size() : close + 3;
            separates = false;
        } else if (next < html.size() && (html[next] == '!' || html[next] == '?')) {
            const std::size_t close = html.find('>', next);
            resume = close == std::string_view::npos ? html.size() : close + 1;
            separates = false;
        } else if (next < html.size() && (isAsciiLetter(html[next]) || html[next] == '/')) {
            const bool endTag = html[next] == '/';
            const std::size_t nameStart = endTag ? next + 1 : next;
            std::size_t nameEnd = nameStart;
            while (nameEnd < html.size() &&
                   (isAsciiLetter(html[nameEnd]) || (html[nameEnd] >= '0' && html[nameEnd] <= '9')))
                ++nameEnd;
            if (nameEnd > nameStart) {
                const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
                resume = endOfTag(html, pos);
                separates = !isInline(name);
                if (!endTag && (equalsIgnoringCase(name, "script") || equalsIgnoringCase(name, "style")))
                    resume = endOfRawElement(html, resume, name);
            }
        }
        if (resume == std::string_view::npos) {
            // A "<" that starts no tag is text.
            pos = html.find('<', next);
            continue;
        }
        endRun(pos);
        if (separates)
            text += ' ';
        runStart = resume;
        pos = resume < html.size() ? html.find('<', resume) : std::string_view::npos;
    }
    if (runStart < html.size())
        endRun(html.size());
    return text;
}

}  // namespace doxel::chm
