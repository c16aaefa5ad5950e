#include "output/page_references.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/path_rules.h"
#include "core/plain_path.h"
#include "core/text_encoding.h"
#include "formats/character_references.h"

namespace doxel {
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c)
{
    return isAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
}

// `what` is lower case.
std::size_t findIgnoringCase(std::string_view text, std::string_view what, std::size_t from)
{
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && asciiLower(text[i + k]) == what[k])
            ++k;
        if (k == what.size())
            return i;
    }
    return std::string_view::npos;
}

// URLs and anchor names are attribute values.
std::string decodeReferences(std::string_view value)
{
    return decodeCharacterReferences(value, {.inAttribute = true});
}

struct Attribute {
    std::string name;  // lower case
    std::string_view value;
};

// Which attribute of which element refers to what.
bool referenceOf(std::string_view tag, std::string_view attribute, ReferenceKind& kind)
{
    if (attribute == "href") {
        if (tag == "a" || tag == "area") {
            kind = ReferenceKind::Link;
            return true;
        }
        if (tag == "link") {
            kind = ReferenceKind::Resource;
            return true;
        }
        return false;
    }
    if (attribute == "src") {
        if (tag == "img" || tag == "input") {
            kind = ReferenceKind::Picture;
            return true;
        }
        if (tag == "script" || tag == "frame" || tag == "iframe" || tag == "embed") {
            kind = ReferenceKind::Resource;
            return true;
        }
        return false;
    }
    if (attribute == "background") {
        kind = ReferenceKind::Picture;
        return true;
    }
    if (attribute == "data" && tag == "object") {
        kind = ReferenceKind::Resource;
        return true;
    }
    return false;
}

}  // namespace

bool isStyleSheet(std::string_view path)
{
    return path.size() > 4 && asciiLower(path.substr(path.size() - 4)) == ".css";
}

std::vector<std::string> styleSheetUrls(std::string_view css)
{
    std::vector<std::string> urls;
    const std::string lower = asciiLower(css);
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
    // A quoted or bare value from `at` on; `at` ends after it.
    const auto value = [&](std::size_t& at, bool bareUntilParenthesis) {
        while (at < css.size() && isSpace(css[at]))
            ++at;
        std::string text;
        if (at < css.size() && (css[at] == '"' || css[at] == '\'')) {
            const char quote = css[at++];
            while (at < css.size() && css[at] != quote && css[at] != '\n') {
                if (css[at] == '\\' && at + 1 < css.size())
                    ++at;
                text += css[at++];
            }
            ++at;
        } else if (bareUntilParenthesis) {
            while (at < css.size() && css[at] != ')') {
                if (css[at] == '\\' && at + 1 < css.size())
                    ++at;
                text += css[at++];
            }
            while (!text.empty() && isSpace(text.back()))
                text.pop_back();
        }
        return text;
    };
    std::size_t at = 0;
    while (at < css.size()) {
        if (lower.compare(at, 2, "/*") == 0) {
            const std::size_t end = lower.find("*/", at + 2);
            at = end == std::string::npos ? css.size() : end + 2;
        } else if (lower.compare(at, 4, "url(") == 0) {
            at += 4;
            std::string url = value(at, true);
            if (!url.empty())
                urls.push_back(std::move(url));
        } else if (lower.compare(at, 7, "@import") == 0) {
            at += 7;
            while (at < css.size() && isSpace(css[at]))
                ++at;
            // "@import url(x)" is found as a url( next time round.
            if (at < css.size() && (css[at] == '"' || css[at] == '\'')) {
                std::string url = value(at, false);
                if (!url.empty())
                    urls.push_back(std::move(url));
            }
        } else {
            ++at;
        }
    }
    return urls;
}

PageReferences scanPage(std::string_view html)
{
    PageReferences result;
    std::vector<Attribute> attributes;
    std::size_t i = 0;
    const std::size_t n = html.size();
    while (i < n) {
        const std::size_t open = html.find('<', i);
        if (open == std::string_view::npos || open + 1 >= n)
            break;
        if (html.substr(open, 4) == "<!--") {
            const std::size_t end = html.find("-->", open + 4);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        std::size_t p = open + 1;
        if (html[p] == '!' || html[p] == '?' || html[p] == '/') {
            const std::size_t end = html.find('>', p);
            i = end == std::string_view::npos ? n : end + 1;
            continue;
        }
        if (!isAlpha(html[p])) {
            i = p;
            continue;
        }
        const std::size_t nameStart = p;
        while (p < n && isNameChar(html[p]))
            ++p;
        const std::string tag = asciiLower(html.substr(nameStart, p - nameStart));

        attributes.clear();
        while (p < n) {
            while (p < n && (isSpace(html[p]) || html[p] == '/'))
                ++p;
            if (p >= n || html[p] == '>')
                break;
            const std::size_t attributeStart = p;
            while (p < n && !isSpace(html[p]) && html[p] != '=' && html[p] != '>' && html[p] != '/')
                ++p;
            if (p == attributeStart) {
                ++p;
                continue;
            }
            Attribute attribute{asciiLower(html.substr(attributeStart, p - attributeStart)), {}};
            std::size_t q = p;
            while (q < n && isSpace(html[q]))
                ++q;
            if (q < n && html[q] == '=') {
                ++q;
                while (q < n && isSpace(html[q]))
                    ++q;
                if (q < n && (html[q] == '"' || html[q] == '\'')) {
                    const char quote = html[q];
                    const std::size_t end = html.find(quote, q + 1);
                    const std::size_t stop = end == std::string_view::npos ? n : end;
                    attribute.value = html.substr(q + 1, stop - q - 1);
                    p = stop == n ? n : stop + 1;
                } else {
                    const std::size_t valueStart = q;
                    while (q < n && !isSpace(html[q]) && html[q] != '>')
                        ++q;
                    attribute.value = html.substr(valueStart, q - valueStart);
                    p = q;
                }
            }
            attributes.push_back(std::move(attribute));
        }
        i = p < n ? p + 1 : n;

        for (const Attribute& attribute : attributes) {
            ReferenceKind kind{};
            if (referenceOf(tag, attribute.name, kind)) {
                std::string url = decodeReferences(attribute.value);
                const auto first = url.find_first_not_of(" \t\r\n");
                const auto last = url.find_last_not_of(" \t\r\n");
                url = first == std::string::npos ? std::string() : url.substr(first, last - first + 1);
                if (!url.empty())
                    result.references.push_back({kind, std::move(url)});
            } else if (attribute.name == "id" || (attribute.name == "name" && tag == "a")) {
                if (!attribute.value.empty())
                    result.anchors.push_back(decodeReferences(attribute.value));
            }
        }

        if (tag == "script" || tag == "style") {
            const std::size_t end = findIgnoringCase(html, tag == "script" ? "</script" : "</style", i);
            i = end == std::string_view::npos ? n : end;
        }
    }
    return result;
}

UrlKind classifyUrl(std::string_view url)
{
    if (url.empty())
        return UrlKind::Ignored;
    if (url.front() == '#')
        return UrlKind::Fragment;
    // A scheme is a letter followed by letters, digits, "+", "-" or "." and
    // a colon; a single letter is a drive ("C:\x.htm"), which the help file
    // cannot reach, so it is treated as a local path that will not be found.
    std::size_t k = 0;
    while (k < url.size() && (isAlpha(url[k]) || (k > 0 && ((url[k] >= '0' && url[k] <= '9') || url[k] == '+' ||
                                                            url[k] == '-' || url[k] == '.'))))
        ++k;
    if (k < 2 || k >= url.size() || url[k] != ':')
        return UrlKind::Local;
    const std::string scheme = asciiLower(url.substr(0, k));
    static const std::array<std::string_view, 10> kInternet = {"http", "https",  "ftp",    "mailto", "news",
                                                               "nntp", "telnet", "gopher", "irc",    "ftps"};
    for (const std::string_view internet : kInternet) {
        if (scheme == internet)
            return UrlKind::Internet;
    }
    if (scheme == "ms-its" || scheme == "mk" || scheme == "its")
        return UrlKind::OtherHelp;
    return UrlKind::Ignored;
}

std::string localUrlPath(std::string_view url)
{
    // Backslashes first, so that an escaped one ("%5C") stays.
    return percentDecoded(forwardSlashes(std::string(url.substr(0, url.find_first_of("?#")))));
}

std::string_view urlFragment(std::string_view url)
{
    const std::size_t hash = url.find('#');
    return hash == std::string_view::npos ? std::string_view() : url.substr(hash + 1);
}

std::vector<std::pair<std::size_t, std::size_t>> declarationValues(std::string_view lowerHead, std::string_view key,
                                                                   std::string_view tagStart)
{
    std::vector<std::pair<std::size_t, std::size_t>> values;
    const std::string_view head = lowerHead;
    for (std::size_t at = head.find(key); at != std::string_view::npos; at = head.find(key, at + key.size())) {
        // Only inside such a tag: "charset=" in the text says nothing.
        const std::size_t open = head.rfind('<', at);
        const std::size_t close = head.rfind('>', at);
        if (open == std::string_view::npos || (close != std::string_view::npos && close > open) ||
            head.compare(open, tagStart.size(), tagStart) != 0)
            continue;
        std::size_t pos = at + key.size();
        while (pos < head.size() && (head[pos] == ' ' || head[pos] == '\t'))
            ++pos;
        if (pos >= head.size() || head[pos] != '=')
            continue;
        ++pos;
        while (pos < head.size() && (head[pos] == ' ' || head[pos] == '\t' || head[pos] == '"' || head[pos] == '\''))
            ++pos;
        std::size_t end = pos;
        while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) != 0 || head[end] == '-' ||
                                     head[end] == '_' || head[end] == '.' || head[end] == ':'))
            ++end;
        if (end > pos)
            values.emplace_back(pos, end);
    }
    return values;
}

std::string pageEncoding(std::string_view html)
{
    // Browsers look for the declaration in the first 1024 bytes; pages made
    // by hand sometimes put it after a long comment, so look a little further.
    const std::string head = asciiLower(html.substr(0, 4096));
    const auto values = declarationValues(head, "charset", "<meta");
    if (!values.empty())
        return head.substr(values.front().first, values.front().second - values.front().first);
    const bool beyondAscii = std::any_of(html.begin(), html.end(), [](char c) { return (c & 0x80) != 0; });
    return beyondAscii && isValidUtf8(html) ? "utf-8" : std::string();
}

int codePageOfEncoding(std::string_view name)
{
    const std::string lower = asciiLower(name);
    std::string_view n(lower);
    if (n == "us-ascii" || n == "ascii")
        return 0;
    if (n == "utf-8" || n == "utf8")
        return 65001;
    if (n == "iso-8859-1" || n == "latin1" || n == "iso8859-1" || n == "l1")
        return 1252;
    struct Named {
        std::string_view name;
        int codePage;
    };
    static constexpr Named kNamed[] = {{"shift_jis", 932}, {"sjis", 932},   {"gb2312", 936},         {"gbk", 936},
                                       {"big5", 950},      {"euc-kr", 949}, {"ks_c_5601-1987", 949}, {"tis-620", 874}};
    for (const Named& entry : kNamed) {
        if (n == entry.name)
            return entry.codePage;
    }
    for (const std::string_view prefix : {"windows-", "x-cp", "cp"}) {
        if (n.starts_with(prefix)) {
            const std::string_view digits = n.substr(prefix.size());
            if (!digits.empty() && digits.size() <= 5 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
                return std::stoi(std::string(digits));
        }
    }
    return -1;
}

}  // namespace doxel
