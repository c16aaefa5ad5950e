#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/path_rules.h"
#include "core/project.h"
#include "core/text_encoding.h"

namespace doxel {

// Appends the first six lines that the contents and the index file share,
// from the document type to "</HEAD><BODY>".
void appendSitemapHead(std::string& out);

inline void appendCrLf(std::string& out, std::string_view line)
{
    out += line;
    out += "\r\n";
}

// A note or warning that writing the compiler input files has for the
// compile's messages.
struct CompilerFileMessage {
    enum class Kind { Note, Warning };
    Kind kind = Kind::Note;
    std::string text;

    // The line as the compile shows it: "Note: ..." or "Warning: ...".
    std::string line() const;
    bool operator==(const CompilerFileMessage&) const = default;
};

// The code page the project's help file is written in: the one of the
// language the author chose in the project properties, else the one the
// letters of every text the compiler input files carry (title, captions,
// keywords, window texts, topic paths) ask for (chooseHelpLanguage).
// `complete` says whether it holds all of them.
const CodePage& helpFileCodePage(const Project& project, bool* complete = nullptr, PathStyle style = kNativePathStyle);

// Turns the project's texts and paths into what the compiler input files
// carry, in the help file's code page, and collects the warnings about what
// that code page cannot hold. One writer serves the three files of a compile
// so that they agree on the code page.
class HelpTextWriter {
public:
    explicit HelpTextWriter(const Project& project, PathStyle style = kNativePathStyle);

    const CodePage& codePage() const { return m_encoder.codePage(); }
    PathStyle pathStyle() const { return m_style; }

    // A "Name" value: `&`, `"`, `<` and `>` as entities, then the code page.
    std::string name(std::string_view text);
    void appendName(std::string& out, std::string_view text);
    // A title or window text: the code page only.
    std::string text(std::string_view text);
    // A topic's full path as a "Local" value: relative to the project folder,
    // "/" separated, in the code page ("c:\help\sub\a.htm" gives "SUB/a.htm"
    // in the Windows style). A file outside the project folder gives an empty
    // value and a warning: nothing from outside enters the help file.
    std::string topicPath(std::string_view fullPath, std::string_view projectFile);
    void appendTopicPath(std::string& out, std::string_view fullPath, std::string_view projectFile);
    // A path the project stores relative ("pages\intro.htm", the default
    // topic): "/" separated, in the code page.
    std::string storedPath(std::string_view stored);
    // A file of the help window's definition ("pages\\intro.htm"): "/"
    // separated, in the code page, as viewers that read #WINDOWS look its
    // files up like the default topic.
    std::string windowPath(std::string_view stored);
    // A file name that chmcmd opens ([FILES]): relative, "/" separated, left
    // in the file system's UTF-8.
    std::string fileName(std::string_view fullPath, std::string_view projectFile) const;
    // Whether `fullPath` lies inside the project folder; warns, once per
    // file, when it does not.
    bool insideProject(std::string_view fullPath, std::string_view projectFile);
    // insideProject for a path as fileName gives it.
    bool fileNameInsideProject(std::string_view relative);

    void note(std::string text);
    // The notes and warnings so far, in the order they arose; each lacking
    // text or path is named once.
    std::vector<CompilerFileMessage> messages() const;

    // A writer for a file written out of the files' order (the contents file
    // before the help project, which waits for the file list): it starts
    // from this writer's state, and takeMessagesOf() later adds what it
    // found.
    HelpTextWriter apart() const;
    // Adds the messages that `apart`, made by apart() from this writer,
    // collected since, as if this writer had collected them after its own:
    // a text or file named already is not named again.
    void takeMessagesOf(const HelpTextWriter& apart);

private:
    // Texts or files named once each in the messages, in the order they
    // arose; a project may have thousands of them.
    struct NamedOnce {
        std::vector<std::string> inOrder;
        std::unordered_set<std::string, StringHash, std::equal_to<>> known;
        void add(std::string_view text);
    };

    // What apart() makes.
    HelpTextWriter(const HelpTextWriter& from, std::size_t notesBefore);

    std::string encodeNamed(std::string_view text, NamedOnce& lacking);
    // fileName, into a string the caller may reuse.
    void relativeFileName(std::string& into, std::string_view fullPath, std::string_view projectFile) const;
    void appendEncoded(std::string& out, std::string_view text, std::string_view named, NamedOnce& lacking);

    // A note, or the warning about a file outside the project folder.
    struct Note {
        CompilerFileMessage message;
        std::string outsideFile;
    };

    PathStyle m_style;
    CodePageEncoder m_encoder;
    std::vector<Note> m_notes;
    std::size_t m_notesBefore = 0;  // of a writer made by apart(): the notes it started with
    NamedOnce m_outside;            // files warned about as outside the project folder
    NamedOnce m_lackingTexts;
    NamedOnce m_lackingPaths;
    std::string m_scratch;   // reused by the writers of one value
    std::string m_relative;  // reused by appendTopicPath
};

}  // namespace doxel
