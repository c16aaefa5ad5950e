#include "output/index_file.h"

#include "core/atomic_file.h"
#include "output/sitemap_writer.h"

namespace doxel {

std::string IndexFileText(const Project& project, PathStyle style)
{
    std::string out;
    out.reserve(512 + project.keywords.size() * 160);
    appendSitemapHead(out);
    appendCrLf(out, "<UL>");
    for (const KeywordEntry& keyword : project.keywords) {
        out += "\t<LI> <OBJECT type=\"text/sitemap\">\r\n";
        out += "          <param name=\"Name\" value=\"";
        out += helpText(keyword.keyword);
        out += "\">\r\n";
        out += "          <param name=\"Local\" value=\"";
        out += ProjectRelativePath(keyword.topicFile, project.projectFile, style);
        out += "\">\r\n";
        out += "\t     </OBJECT>\r\n";
    }
    appendCrLf(out, "</UL>");
    appendCrLf(out, "</BODY></HTML>");
    return out;
}

void SaveIndex(const Project& project, const std::string& path, PathStyle style)
{
    writeFileAtomically(path, IndexFileText(project, style));
}

}  // namespace doxel
