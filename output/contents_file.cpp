#include "output/contents_file.h"

#include <charconv>

#include "core/atomic_file.h"

namespace doxel {
namespace {

// The pieces a large text goes to its file in, so that it is never held
// whole.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

void writeContentsEntry(std::string& out, const ContentsEntry& entry, const std::string& projectFile,
                        HelpTextWriter& writer)
{
    out +=
        "\t   <LI> <OBJECT type=\"text/sitemap\">\r\n"
        "\t\t<param name=\"Name\" value=\"";
    writer.appendName(out, entry.caption);
    out += "\">\r\n";
    if (!entry.isHeader()) {
        out += "\t\t<param name=\"Local\" value=\"";
        writer.appendTopicPath(out, entry.topicFile, projectFile);
        out += "\">";
    }
    out +=
        "\r\n"
        "\t\t<param name=\"ImageNumber\" value=\"";
    char number[16];
    const auto written = std::to_chars(number, number + sizeof number, storedIconNumber(entry.iconNumber) + 1);
    out.append(number, written.ptr);
    out +=
        "\">\r\n"
        "\t\t</OBJECT>\r\n";
}

// About the size of the text: the fixed lines of an entry and its texts,
// so that the text of a large project grows in place.
std::size_t expectedSize(const Project& project)
{
    std::size_t size = 1024;
    forEachEntry(project.root(), [&size](const ContentsEntry& entry, int) {
        size += 150 + entry.caption.size() + entry.topicFile.size();
    });
    return size;
}

// Builds the text into `out`, handing it to `drain` after each entry; a
// writer of the file takes the text away in large pieces.
template <typename Drain>
void buildContents(const Project& project, ProgressScope& progress, HelpTextWriter& writer, std::string& out,
                   Drain&& drain)
{
    appendSitemapHead(out);
    appendCrLf(out, "<OBJECT type=\"text/site properties\">");
    appendCrLf(out, "\t<param name=\"Window Styles\" value=\"0x800025\">");
    appendCrLf(out, "</OBJECT>");

    int position = 0;
    int previousLevel = 0;  // the title entry's: the first entry opens the first list
    bool besideTitle = false;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int treeLevel) {
        if (treeLevel == 0)
            besideTitle = !project.isTitleEntry(&entry);
        if (project.isTitleEntry(&entry))
            return;
        progress.step(++position);
        // An entry dropped beside the title entry is a top-level entry of
        // the help file, like the title entry's children, and its subtree
        // moves down with it.
        const int level = besideTitle ? treeLevel + 1 : treeLevel;
        for (int open = previousLevel; open < level; ++open)
            appendCrLf(out, "<UL>");
        for (int close = level; close < previousLevel; ++close)
            appendCrLf(out, "</UL>");
        previousLevel = level;
        writeContentsEntry(out, entry, project.projectFile, writer);
        drain(out);
    });
    for (int close = 0; close < previousLevel; ++close)
        appendCrLf(out, "</UL>");
    appendCrLf(out, "</BODY></HTML>");
}

}  // namespace

std::string contentsFileText(const Project& project, ProgressScope& progress, HelpTextWriter& writer)
{
    std::string out;
    out.reserve(expectedSize(project));
    buildContents(project, progress, writer, out, [](std::string&) {});
    return out;
}

std::string contentsFileText(const Project& project, ProgressScope& progress, PathStyle style)
{
    HelpTextWriter writer(project, style);
    return contentsFileText(project, progress, writer);
}

void saveContents(const Project& project, WriteBehind& file, ProgressReporter& progress, HelpTextWriter& writer)
{
    std::string text;
    text.reserve(kPieceSize + kPieceSize / 8);
    ProgressScope scope(progress, static_cast<int>(project.entryCount()) - 1);
    buildContents(project, scope, writer, text, [&file](std::string& built) {
        if (built.size() >= kPieceSize) {
            file.hand(built);
            if (built.capacity() < kPieceSize)
                built.reserve(kPieceSize + kPieceSize / 8);
        }
    });
    file.hand(text);
}

void saveContents(const Project& project, const std::string& path, ProgressReporter& progress, HelpTextWriter& writer)
{
    WriteBehind file(path);
    saveContents(project, file, progress, writer);
    file.commit();
    file.finish();
}

void saveContents(const Project& project, const std::string& path, ProgressReporter& progress, PathStyle style)
{
    HelpTextWriter writer(project, style);
    saveContents(project, path, progress, writer);
}

}  // namespace doxel
