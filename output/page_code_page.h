#pragma once

#include <string>
#include <string_view>

#include "core/text_encoding.h"

namespace doxel {

// What a help file stores for one page. Viewers on Linux read every page in
// the help file's code page, whatever the page declares, so a page in
// another encoding goes in converted.
struct StoredPage {
    enum class Kind {
        AsItIs,     // ASCII, already in the code page, or of an encoding nobody can tell
        Converted,  // `bytes` holds the page in the code page
        Unreadable  // it declares an encoding that cannot be read; it goes in as it is
    };
    Kind kind = Kind::AsItIs;
    std::string bytes;     // the converted page, for Converted
    std::string encoding;  // what the page is in ("utf-8", "koi8-r"), for Converted and Unreadable
};

// Whether the file is a page by its name (.htm, .html, .xhtml in any letter
// case): what the compile converts and the checks read links from.
bool isPageFileName(std::string_view path);

// The page as a help file written in `codePage` stores it. The encoding is
// decided from the bytes: a page of ASCII bytes only is the same in every
// code page; one that is valid UTF-8 beyond ASCII (with or without a BOM) is
// UTF-8 unless it declares another code page; otherwise its declaration
// tells. A converted page has every character the code page lacks written
// as a decimal character reference in text and attribute values, as "\uXXXX"
// inside <script> and as "\XXXXXX " inside <style>, and its charset
// declarations (<meta charset>, the Content-Type <meta>, the XML
// declaration) name the code page.
StoredPage storedPage(std::string_view html, const CodePage& codePage);

// The name a page declares for the code page ("windows-1251", "shift_jis").
std::string htmlCharsetName(const CodePage& codePage);

// The iconv name of the encoding the links of a page are written in, so
// that they can be looked up on disk: empty for UTF-8 and ASCII pages, and
// for 8-bit pages that declare nothing, which are read in `helpCodePage`
// (0: not known, then empty as well).
std::string pageLinkEncoding(std::string_view html, int helpCodePage);

// The page as UTF-8 text, read in the encoding pageLinkEncoding names (as it
// is when that is empty or unknown to iconv): links and anchor names are
// compared with the files on disk and with each other in it.
std::string pageTextInUtf8(std::string_view html, int helpCodePage);

}  // namespace doxel
