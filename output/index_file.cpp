#include "output/index_file.h"

#include "core/atomic_file.h"

namespace doxel {

std::string indexFileText(const Project& project, HelpTextWriter& writer)
{
    std::string out;
    out.reserve(512 + project.keywords.size() * 160);
    appendSitemapHead(out);
    appendCrLf(out, "<UL>");
    for (const KeywordEntry& keyword : project.keywords) {
        out += "\t<LI> <OBJECT type=\"text/sitemap\">\r\n";
        out += "          <param name=\"Name\" value=\"";
        out += writer.name(keyword.keyword);
        out += "\">\r\n";
        out += "          <param name=\"Local\" value=\"";
        out += writer.topicPath(keyword.topicFile, project.projectFile);
        out += "\">\r\n";
        out += "\t     </OBJECT>\r\n";
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
