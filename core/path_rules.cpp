#include "core/path_rules.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace doxel {

namespace {
constexpr std::size_t kMaxPathLength = 4096;
}

char separatorOf(PathStyle style)
{
    return style == PathStyle::Windows ? '\\' : '/';
}

std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view trimmed(std::string_view text, std::string_view blanks)
{
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string absolutePath(const std::string& path, PathStyle style)
{
    if (style != PathStyle::Posix || path.empty())
        return path;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

namespace {

// The last "/" or "\\", or npos; a plain loop, as find_last_of searches its
// set once per character.
std::size_t lastSeparator(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (path[i - 1] == '/' || path[i - 1] == '\\')
            return i - 1;
    }
    return std::string_view::npos;
}

// Where the anchor of a topic reference begins, or npos. No disk access:
// a file list of 100,000 topics is rebuilt without a look at the disk.
std::size_t anchorStart(std::string_view topic)
{
    const std::size_t slash = lastSeparator(topic);
    return topic.find('#', slash == std::string_view::npos ? 0 : slash + 1);
}

}  // namespace

std::string topicFileOf(std::string_view topic)
{
    return std::string(topic.substr(0, anchorStart(topic)));
}

std::string anchorOf(std::string_view topic)
{
    const std::size_t start = anchorStart(topic);
    return start == std::string_view::npos ? std::string() : std::string(topic.substr(start));
}

std::string_view folderOf(std::string_view path, PathStyle style)
{
    const auto cut = path.rfind(separatorOf(style));
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string_view fileNameOf(std::string_view path, PathStyle style)
{
    const auto cut = path.rfind(separatorOf(style));
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

namespace {

// Removes leading folder names that DIR and PDIR share, then climbs out of
// what is left of PDIR. Both arguments are folder texts below a common root,
// each ending with `sep` (or empty).
std::string relativeBelowRoot(std::string_view dir, std::string_view pdir, char sep, std::string_view name)
{
    while (!dir.empty() && !pdir.empty()) {
        const auto dirCut = dir.find(sep);
        const auto pdirCut = pdir.find(sep);
        if (dirCut == std::string_view::npos || pdirCut == std::string_view::npos)
            break;
        if (dir.substr(0, dirCut + 1) != pdir.substr(0, pdirCut + 1))
            break;
        dir.remove_prefix(dirCut + 1);
        pdir.remove_prefix(pdirCut + 1);
    }
    const auto climbs = static_cast<std::size_t>(std::count(pdir.begin(), pdir.end(), sep));
    std::string out;
    out.reserve(climbs * 3 + dir.size() + name.size());
    for (std::size_t i = 0; i < climbs; ++i)
        out += "..\\";
    for (const char c : dir)
        out += c == sep ? '\\' : c;
    out += name;
    return out;
}

std::string windowsRelative(std::string_view path, std::string_view projectFile)
{
    const std::string_view name = fileNameOf(path, PathStyle::Windows);
    const std::string dir = asciiUpper(folderOf(path, PathStyle::Windows));
    const std::string pdir = asciiUpper(folderOf(projectFile, PathStyle::Windows));
    if (dir.empty() || pdir.empty() || dir[0] != pdir[0])
        return dir + std::string(name);
    if (dir == pdir)
        return std::string(name);
    if (dir.starts_with(pdir))
        return dir.substr(pdir.size()) + std::string(name);
    const std::string_view dirBelowRoot = std::string_view(dir).substr(std::min<std::size_t>(3, dir.size()));
    const std::string_view pdirBelowRoot = std::string_view(pdir).substr(std::min<std::size_t>(3, pdir.size()));
    return relativeBelowRoot(dirBelowRoot, pdirBelowRoot, '\\', name);
}

std::string posixRelative(std::string_view path, std::string_view projectFile)
{
    if (!path.starts_with('/'))
        return std::string(path);
    const std::string_view name = fileNameOf(path, PathStyle::Posix);
    const std::string_view dir = folderOf(path, PathStyle::Posix);
    const std::string_view pdir = folderOf(projectFile, PathStyle::Posix);
    if (dir == pdir)
        return std::string(name);
    if (!pdir.empty() && dir.starts_with(pdir))
        return relativeBelowRoot(dir.substr(pdir.size()), {}, '/', name);
    return relativeBelowRoot(dir.substr(1), pdir.empty() ? pdir : pdir.substr(1), '/', name);
}

}  // namespace

std::string projectRelativePath(std::string_view fullPath, std::string_view projectFile, PathStyle style)
{
    if (fullPath.empty())
        return {};
    return style == PathStyle::Windows ? windowsRelative(fullPath, projectFile) : posixRelative(fullPath, projectFile);
}

std::string foldCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    std::int32_t at = 0;
    while (at < length) {
        const std::uint8_t first = bytes[at];
        if (first < 0x80) {
            out += static_cast<char>(first >= 'A' && first <= 'Z' ? first - 'A' + 'a' : first);
            ++at;
            continue;
        }
        const std::int32_t start = at;
        UChar32 c = 0;
        U8_NEXT(bytes, at, length, c);
        if (c < 0) {
            out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(at - start)));
            continue;
        }
        std::uint8_t encoded[U8_MAX_LENGTH];
        std::int32_t size = 0;
        U8_APPEND_UNSAFE(encoded, size, u_foldCase(c, U_FOLD_CASE_DEFAULT));
        out.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(size));
    }
    return out;
}

const FolderListings::Listing::Name* FolderListings::Listing::find(std::string_view name) const
{
    if (m_slots.empty())
        return nullptr;
    const auto hash = static_cast<std::uint32_t>(StringHash{}(name));
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.index == 0)
            return nullptr;
        if (slot.hash == hash && m_names[slot.index - 1].text == name)
            return &m_names[slot.index - 1];
    }
}

void FolderListings::Listing::add(std::string_view name, bool isFolder)
{
    if (2 * (m_names.size() + 1) > m_slots.size())
        growSlots(std::max<std::size_t>(16, 2 * m_slots.size()));
    // One probe both finds an equal name and the free slot for a new one.
    const auto hash = static_cast<std::uint32_t>(StringHash{}(name));
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hash & mask;
    for (; m_slots[at].index != 0; at = (at + 1) & mask) {
        if (m_slots[at].hash == hash && m_names[m_slots[at].index - 1].text == name)
            return;
    }
    m_names.push_back({std::string(name), isFolder});
    m_slots[at] = {hash, static_cast<std::uint32_t>(m_names.size())};
}

void FolderListings::Listing::reserve(std::size_t count)
{
    m_names.reserve(count);
    std::size_t slots = 16;
    while (slots < 2 * count)
        slots *= 2;
    if (slots > m_slots.size())
        growSlots(slots);
}

void FolderListings::Listing::growSlots(std::size_t size)
{
    std::vector<Slot> old(size);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.index == 0)
            continue;
        std::size_t at = slot.hash & mask;
        while (m_slots[at].index != 0)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

void FolderListings::Listing::clear()
{
    listed = false;
    m_names.clear();
    m_slots.clear();
    m_folded.clear();
    m_foldedMade = false;
}

const std::string* FolderListings::Listing::match(std::string_view name) const
{
    if (const Name* exact = find(name))
        return &exact->text;
    if (!m_foldedMade) {
        m_folded.reserve(m_names.size());
        for (const Name& onDisk : m_names)
            m_folded.emplace(foldCase(onDisk.text), &onDisk.text);
        m_foldedMade = true;
    }
    const auto other = m_folded.find(foldCase(name));
    return other != m_folded.end() ? other->second : nullptr;
}

bool FolderListings::exists(std::string_view path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string_view::npos)
        return false;
    return listing(path.substr(0, cut)).contains(path.substr(cut + 1));
}

// The folders of one listAhead(), each read by whichever thread claims it
// first: the thread of their own, or the caller's waiting for one of them.
struct FolderListings::Batch {
    std::vector<std::string> paths;
    std::vector<Listing*> listings;
    std::atomic<std::size_t> next{0};

    // Reads the next folder nobody has claimed; false when none is left.
    bool readNext()
    {
        const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
        if (i >= paths.size())
            return false;
        Listing& entry = *listings[i];
        try {
            readListing(entry, paths[i]);
        } catch (...) {
            entry.clear();
            entry.m_readAgain = true;
        }
        entry.m_ready.store(true, std::memory_order_release);
        entry.m_ready.notify_all();
        return true;
    }
};

FolderListings::FolderListings() = default;

FolderListings::~FolderListings()
{
    finishListing();
}

void FolderListings::readListing(Listing& entry, const std::string& path)
{
    // Read with getdents64 into a buffer of our own: opendir would take
    // 32 KB from the heap for each of a project's thousand folders.
    const int dir = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    entry.listed = true;
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t got = ::getdents64(dir, buffer, sizeof buffer);
        if (got <= 0)
            break;  // the end, or a folder that could not be read further
        // Most folders come in one piece: room for them at once.
        if (entry.m_names.empty()) {
            std::size_t count = 0;
            for (ssize_t at = 0; at < got; ++count)
                at += reinterpret_cast<const dirent64*>(buffer + at)->d_reclen;
            entry.reserve(count);
        }
        for (ssize_t at = 0; at < got;) {
            const auto* item = reinterpret_cast<const dirent64*>(buffer + at);
            at += item->d_reclen;
            const std::string_view name(item->d_name);
            if (name == "." || name == "..")
                continue;
            // The type from the listing where the file system gives it; a
            // link counts as what it leads to.
            bool isFolder = item->d_type == DT_DIR;
            if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) {
                struct stat info {};
                isFolder = ::fstatat(dir, item->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
            }
            entry.add(name, isFolder);
        }
    }
    ::close(dir);
}

void FolderListings::waitUntilRead(Listing& entry)
{
    while (!entry.m_ready.load(std::memory_order_acquire)) {
        // Rather than wait idle, read the next folders too.
        if (m_batch == nullptr || !m_batch->readNext())
            entry.m_ready.wait(false, std::memory_order_acquire);
    }
    if (entry.m_readAgain) {
        const auto known = std::find_if(m_listings.begin(), m_listings.end(),
                                        [&entry](const auto& item) { return item.second.get() == &entry; });
        entry.clear();
        if (known != m_listings.end())
            readListing(entry, known->first);
        entry.m_readAgain = false;
    }
}

const FolderListings::Listing& FolderListings::listing(std::string_view folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    if (folder.empty())
        folder = "/";
    const auto known = m_listings.find(folder);
    if (known != m_listings.end()) {
        waitUntilRead(*known->second);
        return *known->second;
    }
    std::string path(folder);
    auto entry = std::make_unique<Listing>();
    readListing(*entry, path);
    return *m_listings.emplace(std::move(path), std::move(entry)).first->second;
}

void FolderListings::listAhead(std::vector<std::string> folders)
{
    finishListing();
    std::erase_if(folders, [this](const std::string& folder) { return m_listings.contains(folder); });
    // A few folders are listed as they are needed.
    constexpr std::size_t kWorthAThread = 32;
    if (folders.size() < kWorthAThread || std::thread::hardware_concurrency() < 2)
        return;
    auto batch = std::make_unique<Batch>();
    batch->listings.reserve(folders.size());
    for (const std::string& folder : folders) {
        auto entry = std::make_unique<Listing>();
        entry->m_ready.store(false, std::memory_order_relaxed);
        batch->listings.push_back(entry.get());
        m_listings.emplace(folder, std::move(entry));
    }
    batch->paths = std::move(folders);
    m_batch = std::move(batch);
    try {
        m_ahead = std::thread([batch = m_batch.get()] {
            while (batch->readNext()) {}
        });
    } catch (const std::system_error&) {
        // listing() reads them, one after another.
    }
}

void FolderListings::finishListing()
{
    if (m_ahead.joinable())
        m_ahead.join();
    // What the thread did not read, if it could not start, is read now.
    if (m_batch != nullptr) {
        while (m_batch->readNext()) {}
    }
    m_batch.reset();
}

StoredPathResolver::StoredPathResolver(std::string projectFolder, PathStyle style, FolderListings* listings)
    : m_projectFolder(std::move(projectFolder)), m_style(style), m_listings(listings ? *listings : m_ownListings)
{
    const char sep = separatorOf(m_style);
    if (!m_projectFolder.empty() && m_projectFolder.back() != sep)
        m_projectFolder += sep;
}

StoredPathResolver::~StoredPathResolver() = default;

const StoredPathResolver::Folder& StoredPathResolver::folder(const std::string& path)
{
    return m_listings.listing(path);
}

// Resolves a lexical folder ("/a/B/", ending with "/") to the folder on
// disk: each name missing on disk is replaced by the one that matches it
// ignoring letter case. Results are cached per folder, parents first.
const StoredPathResolver::ResolvedFolder& StoredPathResolver::resolveFolder(const std::string& lexical)
{
    const auto found = m_resolved.find(lexical);
    if (found != m_resolved.end())
        return found->second;
    ResolvedFolder result;
    if (lexical.size() <= 1) {
        result.path = "/";
        result.listing = &folder(result.path);
    } else if (lexical.size() > kMaxPathLength) {
        result.path = lexical;  // no real folder has a path this long
    } else {
        const auto cut = lexical.rfind('/', lexical.size() - 2);
        const ResolvedFolder parent = resolveFolder(lexical.substr(0, cut + 1));
        std::string name = lexical.substr(cut + 1, lexical.size() - cut - 2);
        if (parent.listing != nullptr)
            name = matchName(*parent.listing, name);
        result.path = parent.path + name + "/";
        result.listing = parent.listing != nullptr && parent.listing->contains(name) ? &folder(result.path) : nullptr;
        if (result.listing != nullptr && !result.listing->listed)
            result.listing = nullptr;
    }
    return m_resolved.emplace(lexical, std::move(result)).first->second;
}

std::string StoredPathResolver::matchName(const Folder& listing, std::string_view name)
{
    const std::string* match = listing.match(name);
    return match != nullptr ? *match : std::string(name);
}

// The stored folder text ("..\pages\", "/abs/x/", "") as an absolute,
// lexically normal folder ending with "/".
std::string StoredPathResolver::lexicalFolder(std::string_view storedFolder) const
{
    std::string text(storedFolder);
    std::replace(text.begin(), text.end(), '\\', '/');
    const std::string joined = text.starts_with('/') ? text : m_projectFolder + text;
    std::vector<std::string_view> parts;
    std::string_view rest(joined);
    while (!rest.empty()) {
        const auto cut = rest.find('/');
        const std::string_view part = rest.substr(0, cut);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    std::string lexical = "/";
    lexical.reserve(joined.size() + 1);
    for (const auto part : parts) {
        lexical += part;
        lexical += '/';
    }
    return lexical;
}

void StoredPathResolver::listAhead(const std::vector<std::string_view>& storedPaths)
{
    if (m_style != PathStyle::Posix)
        return;
    std::string_view previous;
    bool first = true;
    std::unordered_set<std::string_view> storedFolders;
    std::unordered_set<std::string, StringHash, std::equal_to<>> known;
    std::vector<std::string> folders;
    for (const std::string_view stored : storedPaths) {
        // As resolve() takes them apart; a drive path is not resolved.
        if (stored.size() >= 2 && stored[1] == ':')
            continue;
        const std::size_t cut = lastSeparator(stored);
        const std::string_view storedFolder =
            cut == std::string_view::npos ? std::string_view() : stored.substr(0, cut + 1);
        // Topics of one folder mostly follow each other.
        if ((!first && storedFolder == previous) || !storedFolders.insert(storedFolder).second)
            continue;
        first = false;
        previous = storedFolder;
        std::string folder = lexicalFolder(storedFolder);
        if (folder.size() > kMaxPathLength)
            continue;
        // The folder and the folders above it, named as listing() keeps them.
        while (folder.size() > 1) {
            folder.pop_back();
            if (!known.insert(folder).second)
                break;
            folders.push_back(folder);
            folder.erase(folder.rfind('/') + 1);
        }
    }
    m_listings.listAhead(std::move(folders));
}

std::string StoredPathResolver::resolve(std::string_view stored)
{
    if (stored.empty())
        return {};
    const bool hasDrive = stored.size() >= 2 && stored[1] == ':' &&
                          ((stored[0] >= 'a' && stored[0] <= 'z') || (stored[0] >= 'A' && stored[0] <= 'Z'));
    if (m_style == PathStyle::Windows) {
        if (hasDrive)
            return asciiLower(stored);
        std::string base = m_projectFolder;
        std::string_view rest = stored;
        while (rest.starts_with("..\\")) {
            rest.remove_prefix(3);
            // Climb one folder, never above the drive root ("c:\").
            if (base.size() > 3) {
                base.pop_back();
                base.erase(base.rfind('\\') + 1);
            }
        }
        return asciiLower(base + std::string(rest));
    }

    // A Windows drive path cannot be resolved here; keep its text so that a
    // save writes it back unchanged.
    if (hasDrive)
        return std::string(stored);

    // Paths are resolved folder by folder: every topic of one stored folder
    // shares one look-up.
    auto cut = lastSeparator(stored);
    std::string_view name = cut == std::string_view::npos ? stored : stored.substr(cut + 1);
    if (name == "." || name == "..") {
        cut = stored.size() - 1;
        name = {};
    }
    const std::string_view storedFolder =
        cut == std::string_view::npos ? std::string_view() : stored.substr(0, cut + 1);
    auto found = m_storedFolders.find(storedFolder);
    if (found == m_storedFolders.end())
        found = m_storedFolders.emplace(std::string(storedFolder), resolveFolder(lexicalFolder(storedFolder))).first;
    const ResolvedFolder& folderOnDisk = found->second;
    if (name.empty()) {
        const std::string& path = folderOnDisk.path;
        return path.size() > 1 ? path.substr(0, path.size() - 1) : path;
    }
    // "a.htm#part" names the file a.htm; its anchor is kept as it is.
    std::string_view anchor;
    if (const auto hash = name.find('#');
        hash != std::string_view::npos && folderOnDisk.listing != nullptr && !folderOnDisk.listing->contains(name)) {
        anchor = name.substr(hash);
        name = name.substr(0, hash);
    }
    std::string resolved;
    resolved.reserve(folderOnDisk.path.size() + name.size() + anchor.size());
    resolved = folderOnDisk.path;
    const std::string* onDisk = folderOnDisk.listing != nullptr ? folderOnDisk.listing->match(name) : nullptr;
    if (onDisk != nullptr)
        resolved += *onDisk;
    else
        resolved += name;
    resolved += anchor;
    return resolved;
}

std::string StoredPathResolver::matchCase(std::string_view stored)
{
    if (m_style != PathStyle::Posix || stored.empty() || stored.starts_with('/') || stored.starts_with('\\'))
        return std::string(stored);
    const std::size_t end = std::min(stored.find('#'), stored.find('?'));
    const std::string_view path = stored.substr(0, end);
    // "http:", "mk:@MSITStore:", "c:" and the like are not paths below the
    // project folder.
    const std::size_t colon = path.find(':');
    if (path.empty() || (colon != std::string_view::npos && colon < path.find_first_of("/\\")))
        return std::string(stored);

    std::string onDisk = m_projectFolder;
    std::string out;
    out.reserve(stored.size());
    std::string_view rest = path;
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("/\\");
        const std::string_view name = rest.substr(0, cut);
        if (name == "..") {
            if (onDisk.size() > 1) {
                onDisk.pop_back();
                onDisk.erase(onDisk.rfind('/') + 1);
            }
            out += name;
        } else if (!name.empty() && name != ".") {
            const Folder& listing = folder(onDisk);
            const std::string* match = listing.listed ? listing.match(name) : nullptr;
            if (match == nullptr || onDisk.size() + match->size() > kMaxPathLength)
                return std::string(stored);
            out += *match;
            onDisk += *match;
            onDisk += '/';
        } else {
            out += name;
        }
        if (cut == std::string_view::npos)
            break;
        out += rest[cut];
        rest.remove_prefix(cut + 1);
    }
    out += stored.substr(path.size());
    return out;
}

bool StoredPathResolver::isFile(std::string_view path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string_view::npos)
        return false;
    const FolderListings::Listing& listing = m_listings.listing(path.substr(0, cut));
    const FolderListings::Listing::Name* found = listing.find(path.substr(cut + 1));
    return found != nullptr && !found->isFolder;
}

}  // namespace doxel
