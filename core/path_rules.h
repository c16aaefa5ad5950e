#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

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
std::string ProjectRelativePath(std::string_view fullPath, std::string_view projectFile,
                                PathStyle style = kNativePathStyle);

// Turns stored paths back into full paths against the folder of the file
// being read. Windows style: a path with a drive letter is absolute, "..\"
// climbs one folder, the result is lower case. POSIX style: "\" and "/"
// both separate, ".." climbs, and a folder or file name that differs only in
// letter case from the one on disk is resolved to the name on disk (a
// project written on Windows stores "PAGES\intro.htm" for pages/Intro.htm).
// Folder listings are cached, so resolving many paths costs one listing per
// folder.
class StoredPathResolver {
public:
    StoredPathResolver(std::string projectFolder, PathStyle style = kNativePathStyle);
    ~StoredPathResolver();
    StoredPathResolver(const StoredPathResolver&) = delete;
    StoredPathResolver& operator=(const StoredPathResolver&) = delete;

    std::string resolve(std::string_view stored);

private:
    struct Folder;
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
    std::map<std::string, std::unique_ptr<Folder>, std::less<>> m_folders;
    std::map<std::string, ResolvedFolder, std::less<>> m_resolved;
    std::map<std::string, ResolvedFolder, std::less<>> m_storedFolders;
};

// Topic references may carry an anchor, as generators write them
// ("/h/api/a.html#details"): the part from the first "#" of the file name
// on. topicFileOf gives the file ("/h/api/a.html"), anchorOf the anchor with
// its "#" ("#details", empty when there is none). A file whose name itself
// holds "#" and that exists on disk is a file without an anchor.
std::string topicFileOf(std::string_view topic);
std::string anchorOf(std::string_view topic);

// `path` made absolute against the current folder and lexically normal
// (POSIX style); other paths come back unchanged.
std::string absolutePath(const std::string& path, PathStyle style = kNativePathStyle);

// ASCII upper and lower case; the Windows style's case rules.
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);

}  // namespace doxel
