#include "output/index_file.h"

#include "core/atomic_file.h"

namespace doxel {

std::string indexFileText(const Project& project, HelpTextWriter& writer)
{
    std::string out;
    // The fixed lines of a keyword and its texts: the text grows in place.
    std::size_t expected = 512;
    for (const KeywordEntry& keyword : project.keywords)
        expected += 130 + keyword.keyword.size() + keyword.topicFile.size();
    out.reserve(expected);
    appendSitemapHead(out);
    appendCrLf(out, "<UL>");
    for (const KeywordEntry& keyword : project.keywords) {
        out +=
            "\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
            "          <param name=\"Name\" value=\"";
        writer.appendName(out, keyword.keyword);
        out +=
            "\">\r\n"
            "          <param name=\"Local\" value=\"";
        writer.appendTopicPath(out, keyword.topicFile, project.projectFile);
        out +=
            "\">\r\n"
            "\t     </OBJECT>\r\n";
    }
    appendCrLf(out, "</UL>");
    appendCrLf(out, "</BODY></HTML>");
    return out;
}

std::string indexFileText(const Project& project, PathStyle style)
{
    HelpTextWriter writer(project, style);
    return indexFileText(project, writer);
}

void saveIndex(const Project& project, const std::string& path, HelpTextWriter& writer)
{
    writeFileAtomically(path, indexFileText(project, writer));
}

void saveIndex(const Project& project, const std::string& path, PathStyle style)
{
    HelpTextWriter writer(project, style);
    saveIndex(project, path, writer);
}

}  // namespace doxel
