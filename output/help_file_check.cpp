#include "output/help_file_check.h"

#include <filesystem>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "output/page_code_page.h"

namespace doxel {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kPageSizeLimit = 64 * 1024 * 1024;
// Pages named in notes about their encoding; the rest are counted.
constexpr std::size_t kEncodingNotes = 20;
constexpr std::string_view kOutside = "lies outside the project folder, where the help file cannot hold it";

std::string_view extensionOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

bool isPictureFile(std::string_view path)
{
    static const char* const kPictures[] = {"gif", "jpg",  "jpeg", "jpe",  "png", "bmp", "ico",
                                            "svg", "webp", "tif",  "tiff", "wmf", "emf"};
    const std::string extension = asciiLower(extensionOf(path));
    for (const char* picture : kPictures) {
        if (extension == picture)
            return true;
    }
    return false;
}

const char* nounOf(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Link:
        return "link";
    case ReferenceKind::Picture:
        return "picture";
    case ReferenceKind::Resource:
        break;
    }
    return "reference";
}

std::string capitalized(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace

HelpFileCheck::HelpFileCheck(std::string projectFolder) : m_folder(std::move(projectFolder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

HelpFileCheck::~HelpFileCheck() = default;

// Walks the path a folder at a time against cached listings, so that
// thousands of look-ups in one folder read it once. Case differences are
// looked for inside the project folder only; above it the path is taken as
// given.
HelpFileCheck::Lookup HelpFileCheck::lookup(const std::string& absolute)
{
    Lookup result;
    std::string current;
    std::string_view rest;
    if (absolute.starts_with(m_folder + "/")) {
        current = m_folder;
        rest = std::string_view(absolute).substr(m_folder.size() + 1);
    } else {
        rest = std::string_view(absolute).substr(absolute.starts_with("/") ? 1 : 0);
    }
    if (rest.empty() || rest.back() == '/')
        return result;  // a folder, not a file
    bool otherCase = false;
    bool directory = true;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string name(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (!directory)
            return result;
        const FolderListings::Listing& folder = m_listings.listing(current);
        if (!folder.listed) {
            std::error_code error;
            const fs::file_status status = fs::status(current + "/" + name, error);
            if (error || !fs::exists(status))
                return result;
            directory = fs::is_directory(status);
            current += "/" + name;
            continue;
        }
        const std::string* onDisk = folder.match(name);
        if (onDisk == nullptr)
            return result;
        otherCase = otherCase || *onDisk != name;
        directory = folder.find(*onDisk)->isFolder;
        current += "/" + *onDisk;
    }
    result.directory = directory;
    result.found = otherCase ? Found::OtherCase : Found::Exact;
    result.diskPath = current;
    return result;
}

std::string HelpFileCheck::absoluteOf(std::string_view relative, std::string_view baseFolder) const
{
    std::string path(relative);
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    if (!path.starts_with("/"))
        path = std::string(baseFolder) + "/" + path;
    const bool folder = path.ends_with("/");
    std::string normal = fs::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return folder ? normal + "/" : normal;
}

std::string HelpFileCheck::relativeOf(const std::string& absolute) const
{
    if (absolute.starts_with(m_folder + "/"))
        return absolute.substr(m_folder.size() + 1);
    return fs::path(absolute).lexically_relative(m_folder).string();
}

bool HelpFileCheck::isInside(const std::string& absolute) const
{
    return absolute.starts_with(m_folder + "/");
}

void HelpFileCheck::addLine(bool error, std::string text)
{
    ++(error ? m_statistics.errors : m_statistics.warnings);
    m_lines.push_back((error ? "Error: " : "Warning: ") + std::move(text));
}

void HelpFileCheck::checkTopicFiles(const std::vector<std::string>& storedPaths)
{
    // Topics with an anchor ("api/a.html#details"): the file is checked like
    // any other, the anchor against the page once the file is known.
    std::set<std::pair<std::string, std::string>> anchors;
    for (const std::string& stored : storedPaths) {
        if (stored.empty() || classifyUrl(stored) != UrlKind::Local)
            continue;
        const std::string absolute = absoluteOf(localUrlPath(stored), m_folder);
        if (const auto hash = stored.find('#'); hash != std::string::npos && hash + 1 < stored.size())
            anchors.emplace(absolute, stored.substr(hash + 1));
        if (!m_topicFiles.insert(absolute).second)
            continue;
        const Lookup found = lookup(absolute);
        const std::string shown = relativeOf(absolute);
        if (found.found == Found::Missing || found.directory) {
            addLine(true, "Topic file " + shown + " does not exist");
        } else if (found.found == Found::OtherCase) {
            addLine(true,
                    "Topic file " + shown + " differs in letter case from " + relativeOf(found.diskPath) + " on disk");
        } else {
            if (!isInside(absolute))
                addLine(false, "Topic file " + shown + " " + std::string(kOutside));
            reach(absolute);
        }
    }
    for (const auto& [absolute, anchor] : anchors) {
        if (findAnchor(relativeOf(absolute), anchor) == Anchor::Undefined)
            addLine(false, "Topic " + relativeOf(absolute) + "#" + anchor + ": the page has no anchor " + anchor);
    }
}

void HelpFileCheck::checkEntryTopics(const std::vector<EntryTopic>& entries)
{
    std::vector<std::string> found;
    for (const EntryTopic& entry : entries) {
        if (entry.local.empty() || classifyUrl(entry.local) != UrlKind::Local)
            continue;
        const std::string absolute = absoluteOf(localUrlPath(entry.local), m_folder);
        if (m_topicFiles.contains(absolute)) {
            found.push_back(entry.local);
            continue;
        }
        const Lookup lookedUp = lookup(absolute);
        const std::string shown = relativeOf(absolute);
        const std::string named = entry.what + " \"" + entry.name + "\" leads to " + shown;
        if (lookedUp.found == Found::Missing || lookedUp.directory) {
            addLine(false, named + ", which does not exist");
        } else if (lookedUp.found == Found::OtherCase) {
            addLine(false, named + ", which differs in letter case from " + relativeOf(lookedUp.diskPath) + " on disk");
        } else {
            found.push_back(entry.local);
            continue;
        }
        ++m_brokenEntries;
        m_missing.insert(shown);
        m_flagged.insert(shown);
    }
    checkTopicFiles(found);
}

void HelpFileCheck::checkDefaultTopic(const std::string& stored)
{
    if (stored.empty() || stored == "(not defined)" || classifyUrl(stored) != UrlKind::Local)
        return;
    const std::string absolute = absoluteOf(localUrlPath(stored), m_folder);
    const Lookup found = lookup(absolute);
    if (found.found != Found::Exact || found.directory)
        addLine(false, "Default topic " + stored + " does not exist");
}

// A file of the project that goes into the help file: pages are queued for
// the scan, pictures counted.
void HelpFileCheck::reach(const std::string& absolute)
{
    if (!isInside(absolute))
        return;
    m_reached.insert(absolute);
    if (isPageFileName(absolute) || isStyleSheet(absolute)) {
        if (m_queued.insert(absolute).second)
            m_queue.push_back(absolute);
    } else if (isPictureFile(absolute)) {
        m_graphics.insert(absolute);
    }
    m_statistics.graphics = static_cast<int>(m_graphics.size());
}

void HelpFileCheck::scanPages(const ProgressFunction& progress, std::chrono::milliseconds progressInterval)
{
    auto last = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < m_queue.size(); ++i) {
        const std::string page = m_queue[i];
        if (progress) {
            const auto now = std::chrono::steady_clock::now();
            if (i == 0 || now - last >= progressInterval) {
                last = now;
                progress("Checking " + relativeOf(page) + " (" + std::to_string(i + 1) + " of " +
                         std::to_string(m_queue.size()) + ")");
            }
        }
        scanPage(page);
    }
    // Help viewers find a file whatever the letter case of the link, but
    // chmcmd looks for the name as written and leaves the file out unless
    // the help file gets it another way.
    for (const auto& [line, diskPath] : m_otherCase) {
        if (!m_queued.contains(diskPath) && !m_graphics.contains(diskPath))
            m_lines[line] += "; the compiler leaves such files out of the help file";
    }
    m_otherCase.clear();
    checkAnchorLinks();
    if (m_otherEncodings > kEncodingNotes) {
        m_lines.push_back("Note: " + std::to_string(m_otherEncodings - kEncodingNotes) +
                          " more pages are not in the help file's code page either");
    }
}

// The compile stores every page whose encoding it can read in the help
// file's code page; only a page it cannot read shows wrong.
void HelpFileCheck::noteEncoding(const std::string& page, std::string_view html)
{
    const CodePage* helpCodePage = m_helpCodePage == 0 ? nullptr : codePageByNumber(m_helpCodePage);
    if (helpCodePage == nullptr)
        return;
    const StoredPage stored = storedPage(html, *helpCodePage);
    if (stored.kind != StoredPage::Kind::Unreadable)
        return;
    if (++m_otherEncodings > kEncodingNotes)
        return;
    m_lines.push_back("Note: Page " + relativeOf(page) + " is in " + stored.encoding +
                      ", which cannot be converted to Windows-" + std::to_string(m_helpCodePage) +
                      ", the code page help viewers read the pages of this help file in; characters beyond ASCII "
                      "may show wrong");
}

void HelpFileCheck::scanPage(const std::string& page)
{
    if (isStyleSheet(page)) {
        std::string css;
        try {
            css = readWholeFile(page, kPageSizeLimit);
        } catch (const IoError& error) {
            addLine(false, error.what());
            return;
        }
        for (std::string& url : styleSheetUrls(css))
            reference(page, {ReferenceKind::Resource, std::move(url)});
        return;
    }
    std::string html;
    try {
        html = readWholeFile(page, kPageSizeLimit);
    } catch (const IoError& error) {
        addLine(true, error.what());
        ++m_unreadablePages;
        return;
    }
    ++m_statistics.topics;
    noteEncoding(page, html);
    // A page is written in its own encoding, the files on disk are named in
    // UTF-8: links and anchors are read as the page's text.
    PageReferences found = doxel::scanPage(pageTextInUtf8(html, m_helpCodePage));
    for (const PageReference& reference : found.references)
        this->reference(page, reference);
    m_anchors[page] = std::move(found.anchors);
}

void HelpFileCheck::reference(const std::string& page, const PageReference& reference)
{
    const UrlKind kind = classifyUrl(reference.url);
    const bool link = reference.kind == ReferenceKind::Link;
    if (kind == UrlKind::Internet) {
        m_statistics.internetLinks += link ? 1 : 0;
        return;
    }
    const std::size_t hash = reference.url.find('#');
    const std::string anchor = hash == std::string::npos ? std::string() : reference.url.substr(hash + 1);
    if (kind == UrlKind::Fragment) {
        if (link && !anchor.empty())
            m_anchorLinks.emplace(std::pair(page, anchor), page);
        m_statistics.localLinks += link ? 1 : 0;
        return;
    }
    if (kind == UrlKind::OtherHelp) {
        m_statistics.localLinks += link ? 1 : 0;
        return;
    }
    if (kind != UrlKind::Local)
        return;
    const std::string path = localUrlPath(reference.url);
    if (path.empty()) {  // "?query" or similar: the page itself
        m_statistics.localLinks += link ? 1 : 0;
        return;
    }
    m_statistics.localLinks += link ? 1 : 0;

    const std::string pageFolder = page.substr(0, page.rfind('/'));
    const std::string target =
        path.starts_with("/") ? absoluteOf(path.substr(1), m_folder) : absoluteOf(path, pageFolder);
    // Every link to a place counts, also a second one to the same page.
    if (link && !anchor.empty() && isInside(target) && isPageFileName(target))
        m_anchorLinks.emplace(std::pair(target, anchor), page);
    if (!m_reported.insert(page + '\n' + target).second)
        return;
    const std::string shownPage = relativeOf(page);
    const Lookup found = lookup(target);
    if (found.found != Found::Exact || found.directory || !isInside(target))
        m_flagged.insert(relativeOf(target));
    if (found.found == Found::Missing || found.directory) {
        m_missing.insert(relativeOf(target));
        addLine(false, "Broken " + std::string(nounOf(reference.kind)) + " in " + shownPage + ": " + reference.url +
                           " does not exist");
        return;
    }
    if (found.found == Found::OtherCase) {
        addLine(false, capitalized(nounOf(reference.kind)) + " in " + shownPage + " to " + reference.url +
                           " differs in letter case from " + relativeOf(found.diskPath) + " on disk");
        m_otherCase.push_back({m_lines.size() - 1, found.diskPath});
        return;
    }
    if (!isInside(target)) {
        addLine(false, capitalized(nounOf(reference.kind)) + " in " + shownPage + " to " + reference.url + " " +
                           std::string(kOutside));
        return;
    }
    reach(target);
}

// Every link to an anchor must find it in its page. chmcmd's scan of the
// pages used to report these; it no longer runs, as it follows links out of
// the project folder.
void HelpFileCheck::checkAnchorLinks()
{
    for (const auto& [target, firstUse] : m_anchorLinks) {
        const std::string page = relativeOf(target.first);
        if (findAnchor(page, target.second) == Anchor::Undefined)
            addLine(true, "Anchor " + page + "#" + target.second + " undefined; first use " +
                              std::string(fileNameOf(firstUse)));
    }
    m_anchorLinks.clear();
}

std::vector<std::string> HelpFileCheck::reachedFiles() const
{
    std::vector<std::string> files;
    files.reserve(m_reached.size());
    for (const std::string& absolute : m_reached)
        files.push_back(relativeOf(absolute));
    return files;
}

bool HelpFileCheck::reportedMissing(std::string_view target) const
{
    return m_missing.contains(relativeOf(absoluteOf(target, m_folder)));
}

bool HelpFileCheck::reportedTarget(std::string_view target) const
{
    return m_flagged.contains(relativeOf(absoluteOf(target, m_folder)));
}

HelpFileCheck::Anchor HelpFileCheck::findAnchor(std::string_view page, std::string_view name)
{
    const std::string absolute = absoluteOf(page, m_folder);
    auto known = m_anchors.find(absolute);
    if (known == m_anchors.end()) {
        const Lookup found = lookup(absolute);
        if (found.found != Found::Exact || found.directory)
            return Anchor::NoPage;
        try {
            const std::string html = readWholeFile(absolute, kPageSizeLimit);
            known = m_anchors.emplace(absolute, doxel::scanPage(pageTextInUtf8(html, m_helpCodePage)).anchors).first;
        } catch (const IoError&) {
            return Anchor::NoPage;
        }
    }
    // "#top" opens every page at its start, defined or not.
    if (asciiLower(name) == "top")
        return Anchor::Defined;
    for (const std::string& anchor : known->second) {
        // Browsers match an anchor exactly: "#Part" does not find "part",
        // and a viewer opens the page at its start.
        if (anchor == name)
            return Anchor::Defined;
    }
    return Anchor::Undefined;
}

}  // namespace doxel
