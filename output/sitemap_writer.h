#pragma once

#include <string>
#include <string_view>

namespace doxel {

// Appends the first six lines that the contents and the index file share,
// from the document type to "</HEAD><BODY>".
void appendSitemapHead(std::string& out);

// A caption, keyword or title as the compiler input files carry it:
// Windows-1252, with a decimal character reference for each character that
// code page lacks.
std::string helpText(std::string_view text);

inline void appendCrLf(std::string& out, std::string_view line)
{
    out += line;
    out += "\r\n";
}

}  // namespace doxel
