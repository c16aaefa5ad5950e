#include "output/contents_file.h"

#include <algorithm>

#include "core/atomic_file.h"
#include "output/sitemap_writer.h"

namespace doxel {
namespace {

void WriteContentsEntry(std::string& out, const ContentsEntry& entry, const std::string& projectFile, PathStyle style)
{
    out += "\t   <LI> <OBJECT type=\"text/sitemap\">\r\n";
    out += "\t\t<param name=\"Name\" value=\"";
    out += helpText(entry.caption);
    out += "\">\r\n";
    if (!entry.isHeader()) {
        out += "\t\t<param name=\"Local\" value=\"";
        out += ProjectRelativePath(entry.topicFile, projectFile, style);
        out += "\">";
    }
    out += "\r\n";
    out += "\t\t<param name=\"ImageNumber\" value=\"";
    out += std::to_string(storedIconNumber(entry.iconNumber) + 1);
    out += "\">\r\n";
    out += "\t\t</OBJECT>\r\n";
}

}  // namespace

std::string ContentsFileText(const Project& project, ProgressScope& progress, PathStyle style)
{
    std::string out;
    appendSitemapHead(out);
    appendCrLf(out, "<OBJECT type=\"text/site properties\">");
    appendCrLf(out, "\t<param name=\"Window Styles\" value=\"0x800025\">");
    appendCrLf(out, "</OBJECT>");

    int position = 0;
    int previousLevel = 0;  // the title entry's: the first entry opens the first list
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int treeLevel) {
        if (project.isTitleEntry(&entry))
            return;
        progress.step(++position);
        // An entry dropped beside the title entry is a top-level entry of
        // the help file, like the title entry's children.
        const int level = std::max(treeLevel, 1);
        for (int open = previousLevel; open < level; ++open)
            appendCrLf(out, "<UL>");
        for (int close = level; close < previousLevel; ++close)
            appendCrLf(out, "</UL>");
        previousLevel = level;
        WriteContentsEntry(out, entry, project.projectFile, style);
    });
    for (int close = 0; close < previousLevel; ++close)
        appendCrLf(out, "</UL>");
    appendCrLf(out, "</BODY></HTML>");
    return out;
}

void SaveContents(const Project& project, const std::string& path, ProgressReporter& progress, PathStyle style)
{
    std::string text;
    {
        ProgressScope scope(progress, static_cast<int>(project.entryCount()) - 1);
        text = ContentsFileText(project, scope, style);
    }
    writeFileAtomically(path, text);
}

}  // namespace doxel
