#include "output/compiled_help_check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/errors.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "formats/address.h"
#include "formats/character_references.h"
#include "formats/local_value.h"
#include "formats/sitemap_reader.h"
#include "output/page_code_page.h"
#include "output/page_references.h"

namespace doxel {
namespace {

constexpr const char* kDefaultCodePage = "WINDOWS-1252";

// Converts the texts of one help file from its code page to UTF-8. A text
// that does not convert is kept as it is: its bytes may still name a stored
// file.
class ToUtf8 {
public:
    explicit ToUtf8(const std::string& codePage)
    {
        for (const char* name : {codePage.c_str(), kDefaultCodePage}) {
            try {
                m_decoder = std::make_unique<CodePageDecoder>(name);
                return;
            } catch (const ConversionError&) {
            }
        }
    }

    std::string operator()(std::string_view text)
    {
        bool ascii = true;
        for (const char c : text)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii || !m_decoder)
            return std::string(text);
        return m_decoder->decodeExactly(text).value_or(std::string(text));
    }

    // The text when every byte of it is a character of the code page, as
    // a viewer needs to find the file it names.
    std::optional<std::string> exactly(std::string_view text)
    {
        bool ascii = true;
        for (const char c : text)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii || !m_decoder)
            return std::string(text);
        return m_decoder->decodeExactly(text);
    }

    // A whole page: a byte the code page leaves undefined becomes U+FFFD,
    // as a viewer shows it, and the rest of the page still reads.
    std::string page(std::string_view bytes)
    {
        bool ascii = true;
        for (const char c : bytes)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii || !m_decoder)
            return std::string(bytes);
        return m_decoder->decode(bytes);
    }

private:
    std::unique_ptr<CodePageDecoder> m_decoder;
};

std::string decodeReferences(std::string_view text)
{
    return decodeCharacterReferences(text, {.inAttribute = true});
}

}  // namespace

std::vector<SitemapLink> sitemapLinks(std::string_view text)
{
    std::vector<SitemapLink> links;
    for (SitemapEntry& entry : readSitemapAsWritten(text).entries) {
        if (!entry.local.empty())
            links.push_back({entry.name, std::move(entry.local)});
        for (std::string& local : entry.moreLocals)
            links.push_back({entry.name, std::move(local)});
    }
    return links;
}

namespace {

// `html`: the value is read as HTML (a "Local" value), so its character
// references stand for their characters.
std::string storedPath(std::string_view local, ToUtf8& toUtf8, bool html = true)
{
    const std::string decoded = html ? decodeReferences(toUtf8(local)) : toUtf8(local);
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

const char* nounOf(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Link:
        return "Link";
    case ReferenceKind::Picture:
        return "Picture";
    case ReferenceKind::Resource:
        break;
    }
    return "Reference";
}

// The references of one stored page, read in the help file's code page,
// that lead to no stored file.
void checkPageLinks(const CompiledHelpFile& help, const std::string& page, ToUtf8& toUtf8,
                    const std::function<bool(std::string_view)>& reportedBefore, std::vector<std::string>& lines)
{
    const std::optional<std::string> bytes = help.readIfThere(page);
    if (!bytes)
        return;
    const std::string shownPage = page.substr(1);
    const std::string folder = shownPage.substr(0, shownPage.rfind('/') + 1);
    std::set<std::string> checked;
    for (const PageReference& reference : scanPage(toUtf8.page(*bytes)).references) {
        if (classifyUrl(reference.url) != UrlKind::Local)
            continue;
        const std::string path = localUrlPath(reference.url);
        if (path.empty())
            continue;  // the page itself
        const std::string joined = path.starts_with('/') ? path.substr(1) : folder + path;
        // Relative to the top of the help file, ".." where it leads above it,
        // as the checks before the compile name it.
        const std::string target = std::filesystem::path(joined).lexically_normal().generic_string();
        if (!checked.insert(target).second || (reportedBefore && reportedBefore(target)))
            continue;
        // A viewer stops at the top: "../a.htm" there is "/a.htm".
        std::string_view inside(target);
        while (inside.starts_with("../"))
            inside.remove_prefix(3);
        if (inside == "..")
            inside = {};
        if (!help.contains("/" + std::string(inside)))
            lines.push_back("Warning: " + std::string(nounOf(reference.kind)) + " in " + shownPage + " leads to " +
                            reference.url + ", which the help file does not hold");
    }
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
                                            const std::function<void()>& tick,
                                            const std::function<bool(std::string_view)>& reportedBefore)
{
    HelpSystemInfo system;
    if (const std::optional<std::string> bytes = help.readIfThere("/#SYSTEM"))
        system = readSystemFile(*bytes);
    if (codePage.empty())
        codePage = codePageForLanguageId(static_cast<int>(system.languageId)).iconvName;
    ToUtf8 toUtf8(codePage);

    std::vector<std::string> lines;
    const auto check = [&](const std::string& what, std::string_view local, bool html = true) {
        if (tick)
            tick();
        // Bytes that are no text in the code page name no file for a
        // viewer, even when the same bytes would name one as UTF-8.
        if (!toUtf8.exactly(local)) {
            lines.push_back("Warning: " + what + " leads to " + toUtf8.page(local) + ", which is not text in " +
                            codePage + ", the help file's code page; help viewers open nothing");
            return;
        }
        const std::string path = storedPath(local, toUtf8, html);
        // A page the checks before the compile found missing was named
        // with its entry then.
        if (!path.empty() && !help.contains(path) && !(html && reportedBefore && reportedBefore(path.substr(1))))
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
        const std::optional<std::string> text = help.readIfThere(sitemap.file);
        if (!text) {
            lines.push_back("Warning: The help file holds no " + sitemap.file.substr(1) +
                            "; help viewers will not find it");
            continue;
        }
        for (const SitemapLink& link : sitemapLinks(*text))
            check(std::string(sitemap.what) + " \"" + decodeReferences(toUtf8(link.name)) + "\"", link.local);
    }
    // A default topic never chosen is no link.
    const auto chosen = [](const std::string& topic) { return !topic.empty() && topic != "(not defined)"; };
    if (chosen(system.defaultTopic))
        check("The default topic", system.defaultTopic, false);
    if (const std::optional<std::string> windows = help.readIfThere("/#WINDOWS")) {
        const std::string strings = help.readIfThere("/#STRINGS").value_or(std::string());
        for (const WindowDefinition& window : readWindowsFile(*windows, strings)) {
            const std::string of = " of the help window \"" + toUtf8(window.name) + "\"";
            // The help file's own default topic is named once.
            if (chosen(window.defaultTopic) && window.defaultTopic != system.defaultTopic)
                check("The default topic" + of, window.defaultTopic, false);
            if (chosen(window.homePage))
                check("The home page" + of, window.homePage, false);
            check("Jump 1" + of, window.jump1Url, false);
            check("Jump 2" + of, window.jump2Url, false);
        }
    }
    for (const std::string& file : help.files()) {
        if (!isPageFileName(file) || !file.starts_with('/') || file.starts_with("/#") || file.starts_with("/$"))
            continue;
        if (tick)
            tick();
        checkPageLinks(help, file, toUtf8, reportedBefore, lines);
    }
    return lines;
}

namespace {

// A topic as a path inside the help file: "/" separated, from its top,
// "./" and "a/../" resolved, anchor kept.
std::string topicInHelpFile(std::string topic)
{
    std::replace(topic.begin(), topic.end(), '\\', '/');
    const std::size_t hash = topic.find('#');
    const std::string anchor = hash == std::string::npos ? std::string() : topic.substr(hash);
    std::string file = topic.substr(0, hash);
    while (file.starts_with('/'))
        file.erase(0, 1);
    if (file.find("./") != std::string::npos || file.find("/.") != std::string::npos)
        file = std::filesystem::path(file).lexically_normal().generic_string();
    return file + anchor;
}

}  // namespace

std::vector<std::string> checkHelpIdTable(const CompiledHelpFile& help, const std::vector<HelpIdEntry>& ids,
                                          std::string codePage, std::size_t shown)
{
    if (ids.empty())
        return {};
    if (codePage.empty()) {
        HelpSystemInfo system;
        if (const std::optional<std::string> bytes = help.readIfThere("/#SYSTEM"))
            system = readSystemFile(*bytes);
        codePage = codePageForLanguageId(static_cast<int>(system.languageId)).iconvName;
    }
    ToUtf8 toUtf8(codePage);
    // Each number's topics, compared as paths and named as stored.
    std::multimap<std::uint32_t, std::pair<std::string, std::string>> table;
    for (const HelpContext& row : readContextTable(help)) {
        std::string stored = toUtf8(row.topic);
        table.emplace(row.number, std::pair{topicInHelpFile(stored), std::move(stored)});
    }

    std::vector<std::string> lines;
    std::size_t failed = 0;
    const auto fail = [&](const HelpIdEntry& id, const std::string& text) {
        if (++failed <= shown)
            lines.push_back("Warning: The help id " + id.name + " (" + std::to_string(id.number) + ") " + text);
    };
    for (const HelpIdEntry& id : ids) {
        const std::string expected = topicInHelpFile(id.topic);
        const auto [first, last] = table.equal_range(id.number);
        if (first == last) {
            fail(id, "is not in the help file's context table; applications cannot open the help file at it");
            continue;
        }
        bool matches = false;
        for (auto row = first; row != last && !matches; ++row)
            matches = row->second.first == expected;
        if (!matches) {
            fail(id, "leads to " + first->second.second + " in the help file instead of " + expected +
                         "; help viewers open nothing there");
            continue;
        }
        const std::string file = "/" + expected.substr(0, expected.find('#'));
        if (!help.contains(file))
            fail(id, "leads to " + expected + ", which the help file does not hold");
    }
    if (failed > shown)
        lines.push_back("Warning: " + std::to_string(failed - shown) + " more help ids fail the same way");
    return lines;
}

}  // namespace doxel
