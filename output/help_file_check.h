#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_rules.h"
#include "output/compiler_library.h"
#include "output/page_references.h"

namespace doxel {

// The checks a compile makes of its own before the compiler runs, and the
// counts of the summary that come from the pages rather than from the
// compiler. Each problem is one message line in the compiler's form
// ("Error: ...", "Warning: ..."), naming files relative to the project
// folder with "/".
//
// Errors are what would make the compiler fail or crash: a topic file of the
// help project that does not exist, or exists only under a name that
// differs in letter case (chmcmd is case-sensitive and dies on a missing
// file), or a page that cannot be read. A compile with such an error does
// not start the compiler.
//
// Warnings are what makes the help file worse without stopping it: a link,
// picture or other file that a page refers to and that does not exist, one
// that exists only with other letter case (chmcmd silently leaves it out
// unless the help file gets it another way), or one outside the project
// folder (the help file cannot hold it).
class HelpFileCheck {
public:
    using ProgressFunction = std::function<void(const std::string& text)>;

    // `projectFolder`: absolute, without a final "/".
    explicit HelpFileCheck(std::string projectFolder);
    ~HelpFileCheck();
    HelpFileCheck(const HelpFileCheck&) = delete;
    HelpFileCheck& operator=(const HelpFileCheck&) = delete;

    // The topic files of the help project: its [FILES] lines and the pages
    // its contents and index point at, as stored ("\" or "/" separated,
    // relative to the project folder). Each must exist exactly; each one
    // that does is where the scan starts. A file named twice is checked once.
    void checkTopicFiles(const std::vector<std::string>& storedPaths);
    // A contents entry or keyword and where it leads.
    struct EntryTopic {
        std::string what;   // "Contents entry", "Keyword"
        std::string name;   // its "Name"
        std::string local;  // its "Local", as checkTopicFiles takes it
    };
    // The pages the contents and index lead to. A page that is missing, or
    // exists only in other letter case, is a warning naming the entry: the
    // help file is still made, and that entry opens nothing. Each one that
    // exists is where the scan starts.
    void checkEntryTopics(const std::vector<EntryTopic>& entries);
    // The entries checkEntryTopics found leading nowhere.
    int brokenEntries() const { return m_brokenEntries; }
    // The default topic of the help window: a warning when it does not
    // exist. "(not defined)" and addresses are not checked.
    void checkDefaultTopic(const std::string& stored);

    // Reads every page and style sheet that goes into the help file, starting from the topic
    // files and following the local links and frames to further pages;
    // counts the topics, pictures and links and reports what they point at
    // that is not there. `progress` is called at most every
    // `progressInterval` with the page being read.
    void scanPages(const ProgressFunction& progress,
                   std::chrono::milliseconds progressInterval = std::chrono::milliseconds(50));

    // The help file's Windows code page (1252, 1251, ...): viewers read every
    // page in it, so a page that declares or holds another encoding gets a
    // note. 0 (the default) leaves pages' encodings unchecked.
    void setHelpCodePage(int codePage) { m_helpCodePage = codePage; }

    const std::vector<std::string>& lines() const { return m_lines; }
    // Warnings and errors of lines(), and the topics, graphics, local and
    // internet links the scan found.
    const CompileStatistics& statistics() const { return m_statistics; }
    bool hasErrors() const { return m_statistics.errors > 0; }

    // Every file inside the project folder that the topic files and the
    // scan reached (pages, pictures, style sheets, scripts ...), relative to
    // the project folder, "/" separated, sorted: what a help file of the
    // project holds. Nothing outside the folder is ever among them.
    std::vector<std::string> reachedFiles() const;
    // The pages the scan could not read (too large, unreadable): a help
    // file cannot hold them either.
    std::size_t unreadablePages() const { return m_unreadablePages; }

    // Whether the scan reported `target` (relative to the project folder,
    // "/" separated, ".." allowed) as a file that does not exist.
    bool reportedMissing(std::string_view target) const;
    // Whether the scan named `target` (as reportedMissing) in a warning: a
    // file that does not exist, exists only in other letter case or lies
    // outside the project folder.
    bool reportedTarget(std::string_view target) const;

    enum class Anchor { Defined, Undefined, NoPage };
    // Whether the page `page` (relative to the project folder) defines the
    // anchor `name` by an id or an <a name>, letter case ignored as help
    // viewers do.
    Anchor findAnchor(std::string_view page, std::string_view name);

private:
    enum class Found { Exact, OtherCase, Missing };
    struct Lookup {
        Found found = Found::Missing;
        std::string diskPath;  // for OtherCase: the name on disk
        bool directory = false;
    };
    Lookup lookup(const std::string& absolute);
    std::string absoluteOf(std::string_view relative, std::string_view baseFolder) const;
    std::string relativeOf(const std::string& absolute) const;
    bool isInside(const std::string& absolute) const;
    void addLine(bool error, std::string text);
    void scanPage(const std::string& page);
    void reference(const std::string& page, const PageReference& reference);
    void reach(const std::string& absolute);
    void checkAnchorLinks();

    void noteEncoding(const std::string& page, std::string_view html);

    std::string m_folder;
    std::vector<std::string> m_lines;
    int m_helpCodePage = 0;
    int m_brokenEntries = 0;
    std::size_t m_otherEncodings = 0;  // pages noted for their encoding
    CompileStatistics m_statistics;
    std::size_t m_unreadablePages = 0;
    FolderListings m_listings;
    std::set<std::string, std::less<>> m_topicFiles;
    std::vector<std::string> m_queue;  // pages to scan, in the order reached
    std::set<std::string, std::less<>> m_queued;
    std::set<std::string, std::less<>> m_graphics;
    std::set<std::string, std::less<>> m_reached;  // absolute, inside the folder
    // Links to an anchor in a page of the project: page and anchor, and the
    // page that used it first.
    std::map<std::pair<std::string, std::string>, std::string> m_anchorLinks;
    std::set<std::string, std::less<>> m_missing;   // relative targets reported missing
    std::set<std::string, std::less<>> m_flagged;   // relative targets of every warning about one
    std::set<std::string, std::less<>> m_reported;  // page + target pairs already reported
    std::map<std::string, std::vector<std::string>, std::less<>> m_anchors;
    std::vector<std::pair<std::size_t, std::string>> m_otherCase;  // line, file on disk
};

}  // namespace doxel
