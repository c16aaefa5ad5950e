#include "output/sitemap_writer.h"

#include "core/text_encoding.h"

namespace doxel {

void appendSitemapHead(std::string& out)
{
    appendCrLf(out, "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    appendCrLf(out, "<HTML>");
    appendCrLf(out, "<HEAD>");
    appendCrLf(out, "<meta name=\"GENERATOR\" content=\"HTML Doxel\">");
    appendCrLf(out, "<!-- Sitemap 1.0 -->");
    appendCrLf(out, "</HEAD><BODY>");
}

std::string helpText(std::string_view text)
{
    return utf8ToCp1252(text);
}

}  // namespace doxel
