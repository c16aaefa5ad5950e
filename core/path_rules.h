#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace doxel {

// The path rules exist for two styles. The Windows style (drive letters,
// "\", letter case ignored, topic paths held in lower case) is the one
// project files were first written in; the POSIX style is this platform's:
// one root, "/" in memory, letter case kept and compared exactly. Stored
// paths use "\" in both.
enum class PathStyle { Windows, Posix };

inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;

char separatorOf(PathStyle style);

// The folder part of a path, with its final separator ("c:\help\" for
// "c:\help\a.htm"); empty when the path holds no separator.
std::string_view folderOf(std::string_view path, PathStyle style = kNativePathStyle);

// The part after the last separator.
std::string_view fileNameOf(std::string_view path, PathStyle style = kNativePathStyle);

// The text stored for the full path `fullPath` in a project whose file is
// `projectFile`: relative to the project folder, "\" separated.
//
// Windows style: the folder part is upper-cased and the file name kept, so
// with the project c:\help\p.dxp: "c:\help\sub\a.htm" gives "SUB\a.htm",
// "c:\other\a.htm" gives "..\OTHER\a.htm" and "d:\x\a.htm" (another drive)
// gives "D:\X\a.htm".
// POSIX style: letter case kept; one root, so every path is made relative
// ("/home/a/pages/a.htm" with the project /home/a/help/p.dxp gives
// "..\pages\a.htm"). A path that is not absolute comes back unchanged, so a
// path from a Windows project ("D:\X\a.htm") survives a save.
std::string projectRelativePath(std::string_view fullPath, std::string_view projectFile,
                                PathStyle style = kNativePathStyle);

// `text` (UTF-8) with every character replaced by its simple Unicode case
// folding, so that two names that differ only in letter case ("ÜBUNGEN",
// "übungen"; "Straße" stays apart from "STRASSE", which needs full folding)
// compare equal. Bytes that are not valid UTF-8 are kept as they are.
std::string foldCase(std::string_view text);

// Hashing that lets unordered containers of std::string be searched with a
// string_view, without building a string for every look-up.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Folder listings read once each, for look-ups of many names in the same
// folders, by exact name and ignoring letter case (foldCase). Folders are
// absolute and "/" separated, with or without a final "/"; "" and "/" are
// the root. One object serves one run (reading a project and exporting it),
// so that no folder is listed twice; what changes on disk meanwhile is not
// seen. Not safe for use by two threads at once (its own thread of
// listAhead aside).
class FolderListings {
public:
    class Listing {
    public:
        struct Name {
            std::string text;
            bool isFolder = false;
        };

        bool listed = false;  // false when the folder could not be read

        // The name exactly as the folder lists it, or null.
        const Name* find(std::string_view name) const;
        bool contains(std::string_view name) const { return find(name) != nullptr; }
        std::size_t size() const { return m_names.size(); }

        // `name` when the folder holds it; else the first name on disk that
        // differs from it only in letter case; else null.
        const std::string* match(std::string_view name) const;

    private:
        friend class FolderListings;
        // Keeps the first of two equal names.
        void add(std::string_view name, bool isFolder);
        void reserve(std::size_t count);
        void growSlots(std::size_t size);
        void clear();

        std::vector<Name> m_names;  // in the order the folder lists them
        // A table of its own rather than std::unordered_map: a project's
        // export looks up every topic in these listings, and the map's
        // prime-sized buckets cost a division per look-up. Open addressing
        // in a power-of-two table at most half full: the hash of a name and
        // its index in m_names plus one (0 marks an empty slot).
        struct Slot {
            std::uint32_t hash = 0;
            std::uint32_t index = 0;
        };
        std::vector<Slot> m_slots;
        // Folded names, made at the first look-up that ignores letter case:
        // most look-ups find the name as it is.
        mutable std::unordered_map<std::string, const std::string*, StringHash, std::equal_to<>> m_folded;
        mutable bool m_foldedMade = false;
        // Of a folder listed ahead: whether it is read yet, and whether it
        // must be read again because that failed (it ran out of memory).
        std::atomic<bool> m_ready{true};
        bool m_readAgain = false;
    };

    FolderListings();
    // Waits for the folders still being listed ahead.
    ~FolderListings();
    FolderListings(const FolderListings&) = delete;
    FolderListings& operator=(const FolderListings&) = delete;

    const Listing& listing(std::string_view folder);

    // Whether the folder of the absolute `path` lists its name (a file or
    // a folder).
    bool exists(std::string_view path);

    // Starts listing `folders` (absolute, without a final "/") in their
    // order on a thread of its own, unless they are few or listed already,
    // and returns: the caller goes on with its own work meanwhile. listing()
    // of a folder not read yet reads the next ones itself until that one is
    // read. A folder that cannot be read is kept as not listed, as listing()
    // would keep it.
    void listAhead(std::vector<std::string> folders);
    // Waits until every folder listed ahead is read; after it only the
    // caller's thread uses this object.
    void finishListing();

private:
    struct Batch;
    static void readListing(Listing& entry, const std::string& path);
    void waitUntilRead(Listing& entry);

    std::unordered_map<std::string, std::unique_ptr<Listing>, StringHash, std::equal_to<>> m_listings;
    std::unique_ptr<Batch> m_batch;
    std::thread m_ahead;  // last: joined before the listings go
};

// Turns stored paths back into full paths against the folder of the file
// being read. Windows style: a path with a drive letter is absolute, "..\"
// climbs one folder, the result is lower case. POSIX style: "\" and "/"
// both separate, ".." climbs, and a folder or file name that differs only in
// letter case from the one on disk is resolved to the name on disk (a
// project written on Windows stores "PAGES\intro.htm" for pages/Intro.htm;
// letter case is matched for every letter, "ÜBUNGEN\äpfel.htm" finds
// übungen/Äpfel.htm).
// Folder listings are cached, so resolving many paths costs one listing per
// folder.
class StoredPathResolver {
public:
    // `listings`, when given, is shared with the rest of the run; else the
    // resolver keeps its own.
    StoredPathResolver(std::string projectFolder, PathStyle style = kNativePathStyle,
                       FolderListings* listings = nullptr);
    ~StoredPathResolver();
    StoredPathResolver(const StoredPathResolver&) = delete;
    StoredPathResolver& operator=(const StoredPathResolver&) = delete;

    std::string resolve(std::string_view stored);
    // Starts listing, on a thread of its own, the folders that resolving
    // the stored paths looks in, where their letter case is the one on
    // disk; resolving goes on meanwhile (FolderListings::listAhead).
    void listAhead(const std::vector<std::string_view>& storedPaths);
    // Waits for that listing to end.
    void finishListing() { m_listings.finishListing(); }

    // For texts that stay stored as they are (the default topic, the
    // window's home page and jump addresses): a local path relative to the
    // project folder ("PAGES\intro.htm#top") with each name that differs
    // only in letter case from the one on disk replaced by that name
    // ("pages\Intro.htm#top"), separators, anchor and query kept. Addresses,
    // absolute paths, "(not defined)" and names not on disk come back
    // unchanged. POSIX style only; the Windows style returns `stored`.
    std::string matchCase(std::string_view stored);

    // Whether the full path `path` (as resolve gives it) names a file on
    // disk, from the folder listings resolving read anyway.
    bool isFile(std::string_view path);

private:
    using Folder = FolderListings::Listing;
    struct ResolvedFolder {
        std::string path;
        const Folder* listing = nullptr;  // null when the folder is not on disk
    };
    const Folder& folder(const std::string& path);
    const ResolvedFolder& resolveFolder(const std::string& lexical);
    static std::string matchName(const Folder& listing, std::string_view name);
    std::string lexicalFolder(std::string_view storedFolder) const;

    std::string m_projectFolder;
    PathStyle m_style;
    FolderListings m_ownListings;
    FolderListings& m_listings;
    // Node-based: resolveFolder hands out references that later insertions
    // keep valid.
    std::unordered_map<std::string, ResolvedFolder, StringHash, std::equal_to<>> m_resolved;
    std::unordered_map<std::string, ResolvedFolder, StringHash, std::equal_to<>> m_storedFolders;
};

// Topic references may carry an anchor, as generators write them
// ("/h/api/a.html#details"): the part from the first "#" of the file name
// on. topicFileOf gives the file ("/h/api/a.html"), anchorOf the anchor with
// its "#" ("#details", empty when there is none). As in a "Local" value,
// a "#" in a file name always starts the anchor; only StoredPathResolver,
// which lists the folder anyway, keeps a name on disk that holds "#" whole.
std::string topicFileOf(std::string_view topic);
std::string anchorOf(std::string_view topic);

// `path` made absolute against the current folder and lexically normal
// (POSIX style); other paths come back unchanged.
std::string absolutePath(const std::string& path, PathStyle style = kNativePathStyle);

// ASCII upper and lower case; the Windows style's case rules.
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);
inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of a hexadecimal digit, as in a "%XX" escape; -1 for any other
// character.
inline int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// `text` without the `blanks` it begins and ends with.
std::string_view trimmed(std::string_view text, std::string_view blanks = " \t");

}  // namespace doxel
