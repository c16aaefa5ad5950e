#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_list.h"
#include "core/path_rules.h"
#include "core/text_lines.h"

namespace doxel {

// The location test: whether the HTML Help compiler can reach `file` from
// the project whose file is `projectFile`. It passes for files in the
// project folder and below it. Windows style, letter case ignored: also for
// any file on another drive, so with the project e:\help\proj.dxp,
// e:\help\sub\b.htm and f:\x\topic.htm pass while e:\other\d.htm and
// e:\helpfiles\e.htm fail. POSIX style: one root, so only the project
// folder and below; names compare exactly, ".." is resolved first.
bool topicLocationAllowed(std::string_view file, std::string_view projectFile, PathStyle style = kNativePathStyle);

// The path a topic and its file-list row hold for a file the user chose:
// lower case in the Windows style; lexically normal in the POSIX style,
// where letter case names a different file.
std::string topicPathOf(std::string_view file, PathStyle style = kNativePathStyle);

// The caption a new topic takes from its file:
//   - a path without ".htm" in any letter case: the file name;
//   - else the first non-empty run after "<title>" up to the next "<" on a
//     line that holds both "<title>" and "</title>" in any letter case,
//     lines as the text-file line model reads them (CR ends a line, a lone
//     LF does not, byte 26 ends the text), however long the lines before
//     it; with every HTML character reference decoded and nothing trimmed;
//   - "New Topic" when no line holds a title;
//   - the file name when the file cannot be read.
// The file is read as a stream and only the title is kept, at most
// kLongestTitle characters of it.
std::string topicTitle(const std::string& file, PathStyle style = kNativePathStyle);

inline constexpr std::size_t kLongestTitle = 1024;

// The title found in a page's bytes as topicTitle reads it, or nothing when
// no line holds one. Bytes that are not UTF-8 are read as Windows-1252;
// line breaks and other control characters but the tab become spaces,
// since a caption is one line of the project file.
std::optional<std::string> titleOfPage(std::string_view text);

// Whether a file can stand as a topic in the project file. In the POSIX
// style a name holding "\" cannot (the project file stores "\" as the
// separator, so "a\b.htm" would read back as "a/b.htm"); in either style a
// control character cannot, since it would break the line, and neither can
// "#", since a topic reference reads what follows it as an anchor
// ("page.htm#part").
bool topicFileStorable(std::string_view path, PathStyle style = kNativePathStyle);
// Why a file cannot stand as a topic, for a message; empty when it can.
// Every place that takes a topic file asks this one rule.
std::string topicFileRefusal(std::string_view path, PathStyle style = kNativePathStyle);
// One line per refused file of `paths`, naming it and why; empty when none.
std::string topicFilesRefusedText(const std::vector<std::string>& paths, PathStyle style = kNativePathStyle);
// The caption of that message.
inline constexpr const char* kTopicFileRefusedCaption = "Topic file";

// The pages among files and folders dragged from a file manager: a file
// ending in ".htm" or ".html" (any letter case) is taken as it is, a folder
// gives its pages and those of its subfolders, in path order. `skipped`
// counts the other files.
std::vector<std::string> droppedPages(const std::vector<std::string>& paths, std::size_t& skipped);

// Whether a file can be opened in a text or HTML editor: its path holds
// ".htm" (".html" included) or ".txt" in any letter case, anywhere.
bool isEditableFile(std::string_view path);

// Streams a page's bytes through the title search, so that reading can
// stop at the line holding the title and no line is ever held whole.
class TitleScanner {
public:
    // Feeds the next bytes; returns true once the title is found (or the
    // text has ended at byte 26) and no more bytes are needed.
    bool feed(std::string_view bytes);
    // Call at the end of the bytes; returns the title, if one was found.
    std::optional<std::string> finish();

    // The line model's callbacks.
    void text(std::string_view piece);
    void lineEnd();

private:
    TextLines m_lines;
    std::optional<std::string> m_title;
    std::string m_run;               // after "<title>", capped
    std::size_t m_openMatched = 0;   // bytes of "<title>" matched so far
    std::size_t m_closeMatched = 0;  // bytes of "</title>" matched so far
    bool m_opened = false;
    bool m_inRun = false;
    bool m_runCut = false;
    bool m_closed = false;
};

}  // namespace doxel
