#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "core/file_list.h"

namespace doxel {

inline constexpr int kTitleIconNumber = 42;
inline constexpr int kLastIconNumber = 42;
// The largest icon number a project file may hold: the Windows program
// stores 255 for "no picture chosen". A number without a picture shows none
// and is written back unchanged; the editor itself never makes one.
inline constexpr int kLastStoredIconNumber = 255;
inline constexpr std::size_t kWindowTextLimit = 255;
// The deepest nesting a project, a contents file or an index may hold:
// levels 0 to 255. No real help file comes near it; deeper trees are
// refused where they are read, so that no walk over the tree, in our code
// or in a tree view's, can run out of stack.
inline constexpr int kMaxContentsDepth = 256;
// The width of the help window's navigation pane, in pixels: what the
// project properties accept and what an import takes over.
inline constexpr int kMinNavigationPaneWidth = 50;
inline constexpr int kMaxNavigationPaneWidth = 1000;
inline constexpr const char* kNotDefined = "(not defined)";

// The help window's settings, in the order of the project file's [Window]
// section. Texts hold at most kWindowTextLimit characters.
struct WindowSettings {
    std::string defaultTopic = kNotDefined;
    std::int32_t navigationStyle = 32;
    std::int32_t navigationPaneWidth = 200;
    std::int32_t buttons = 0;
    std::int32_t windowStyle = 0;
    std::int32_t extendedStyle = 0;
    std::string jump1Url;
    std::string jump1Text;
    std::string jump2Url;
    std::string jump2Text;
    std::string homePage;
    std::int32_t left = 80;
    std::int32_t top = 70;
    std::int32_t width = 650;
    std::int32_t height = 430;

    // Cuts every text to its first kWindowTextLimit characters.
    void cutTexts();
    bool operator==(const WindowSettings&) const = default;
};

// One entry of the table of contents. A topic has a topic file, a header
// has none. Entries own their children; the level of an entry is its depth
// below the invisible root (0 for the title entry) and is never stored.
class ContentsEntry {
public:
    ContentsEntry() = default;
    ContentsEntry(std::string caption, int iconNumber, std::string topicFile = {});
    ~ContentsEntry();
    ContentsEntry(const ContentsEntry&) = delete;
    ContentsEntry& operator=(const ContentsEntry&) = delete;

    std::string caption;
    int iconNumber = 0;
    std::string topicFile;  // full path; empty for a header
    bool expanded = false;  // shown expanded in the editor; not stored

    bool isHeader() const { return topicFile.empty(); }
    ContentsEntry* parent() const { return m_parent; }
    int level() const;

    const std::vector<std::unique_ptr<ContentsEntry>>& children() const { return m_children; }
    std::size_t childCount() const { return m_children.size(); }
    ContentsEntry* child(std::size_t index) const { return m_children[index].get(); }
    // Position among the parent's children (a scan of the siblings).
    std::size_t indexInParent() const;

    ContentsEntry* appendChild(std::unique_ptr<ContentsEntry> entry);
    ContentsEntry* insertChild(std::size_t index, std::unique_ptr<ContentsEntry> entry);
    std::unique_ptr<ContentsEntry> takeChild(std::size_t index);
    // Exchanges the children of the two entries (the undo history keeps a
    // tree aside and puts it back in one step).
    void swapChildren(ContentsEntry& other);

private:
    ContentsEntry* m_parent = nullptr;
    std::vector<std::unique_ptr<ContentsEntry>> m_children;
};

struct KeywordEntry {
    std::string keyword;
    std::string topicFile;  // full path, may be empty
    bool operator==(const KeywordEntry&) const = default;
};

// A number an application opens its help with (the F1 key of a dialog),
// under the symbolic name its code uses, and the topic it opens. Kept in the
// project's own settings file, since the project file has no place for it.
struct HelpId {
    std::string name;          // IDH_PRINT_PREVIEW: letters, digits and '_'
    std::uint32_t number = 0;  // 1 to kMaxHelpIdNumber
    std::string topicFile;     // full path, with an anchor when it has one
    bool operator==(const HelpId&) const = default;
};
inline constexpr std::uint32_t kMaxHelpIdNumber = 0x7fffffff;

// Calls visit(entry, level) for every entry below `root` in display order
// (depth first, pre-order; level 0 for the children of `root`), without
// recursion, so deep trees are safe. The entries are const when `root` is;
// `visit` may change an entry's fields but not the shape of the tree.
template <typename Entry, typename Visit>
requires std::is_same_v<std::remove_const_t<Entry>, ContentsEntry>
void forEachEntry(Entry& root, Visit&& visit)
{
    struct Frame {
        Entry* entry;
        std::size_t next;
    };
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.entry->childCount()) {
            stack.pop_back();
            continue;
        }
        Entry* entry = top.entry->child(top.next++);
        visit(*entry, static_cast<int>(stack.size()) - 1);
        if (entry->childCount() > 0)
            stack.push_back({entry, 0});
    }
}

// The one open help project.
class Project {
public:
    explicit Project(const std::string& title = {});

    // The new-project state: a single title entry captioned `title`, no
    // keywords, no files, default window settings, no file names, not
    // modified.
    void resetToNew(const std::string& title);

    // The invisible root: its children are the entries of level 0, the
    // first of them the title entry.
    ContentsEntry& root() { return *m_root; }
    const ContentsEntry& root() const { return *m_root; }
    ContentsEntry& titleEntry() { return *m_root->child(0); }
    const ContentsEntry& titleEntry() const { return *m_root->child(0); }
    const std::string& title() const { return titleEntry().caption; }
    bool isTitleEntry(const ContentsEntry* entry) const { return entry == &titleEntry(); }

    // All entries, the title entry included.
    std::size_t entryCount() const;

    std::vector<KeywordEntry> keywords;
    FileList fileList;
    WindowSettings windowSettings;
    // What the project file cannot hold, kept in the project's own settings
    // file beside it: the help ids, and the language id the author chose
    // for the help file (0: chosen from the letters of the texts).
    std::vector<HelpId> helpIds;
    int helpLanguageId = 0;
    // Files the help file holds although no entry names them and no page
    // leads to them (what an imported help project listed in [FILES] for
    // itself): full paths, kept in the settings file too.
    std::vector<std::string> extraFiles;
    std::string projectFile;
    std::string helpProjectFile;
    std::string contentsFile;
    std::string indexFile;
    std::string compiledFile;
    bool modified = false;

    // projectFile without its last four characters.
    std::string baseName() const;
    // Sets the four compiler file names from projectFile.
    void deriveCompilerFileNames();
    // Rebuilds the file list from the distinct topic files of the contents.
    void rebuildFileList();

    // Exchanges everything with `other`; used to replace a project only once
    // a new one has been read completely.
    void swap(Project& other) noexcept;

private:
    std::unique_ptr<ContentsEntry> m_root;
};

// The file list of the contents below `root`: its distinct topic files.
FileList fileListOf(const ContentsEntry& root);

// fileListOf on a thread of its own, for a caller with other work
// meanwhile. The contents must stay unchanged until take() returns or the
// maker is destroyed; without a second thread the list is made in take().
class FileListMaker {
public:
    FileListMaker() = default;
    ~FileListMaker();
    FileListMaker(const FileListMaker&) = delete;
    FileListMaker& operator=(const FileListMaker&) = delete;

    void start(const ContentsEntry& root);
    bool started() const { return m_root != nullptr; }
    // Waits for the list; throws what making it threw.
    FileList take();
    // Waits for the thread and forgets its list.
    void cancel();

private:
    const ContentsEntry* m_root = nullptr;
    FileList m_list;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

// The number stored for an icon: the closed form of the four pairs (1 gives
// 0, 3 gives 2, 5 gives 4, 7 gives 6), every other number itself.
int storedIconNumber(int iconNumber);
// The open (expanded) and closed (collapsed) forms of the four pairs;
// numbers outside the pairs come back unchanged.
int expandedIconNumber(int iconNumber);
int collapsedIconNumber(int iconNumber);

}  // namespace doxel
