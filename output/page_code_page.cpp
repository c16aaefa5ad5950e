#include "output/page_code_page.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/errors.h"
#include "core/path_rules.h"
#include "output/page_references.h"

namespace doxel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Browsers look for a declaration near the start; pageEncoding looks as far.
constexpr std::size_t kDeclarationReach = 4096;

bool isAsciiText(std::string_view bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

std::string iconvNameOf(int codePage, const std::string& declared)
{
    return codePage > 0 ? "CP" + std::to_string(codePage) : declared;
}

enum class Mode { Html, Script, Style };

// Whether `lower` holds the opening tag `name` ("<script") at `at`.
bool opensTag(std::string_view lower, std::size_t at, std::string_view name)
{
    if (lower.compare(at, name.size(), name) != 0)
        return false;
    const std::size_t after = at + name.size();
    return after < lower.size() && (lower[after] == '>' || lower[after] == '/' || lower[after] == ' ' ||
                                    lower[after] == '\t' || lower[after] == '\r' || lower[after] == '\n');
}

// Characters the code page lacks, as the script or style sheet language
// writes them: the browser does not read character references there.
std::string encodeEscaped(std::string_view utf8, Mode mode, CodePageEncoder& encoder)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        if ((utf8[pos] & 0x80) == 0) {
            out += utf8[pos++];
            continue;
        }
        const std::size_t start = pos;
        const long codePoint = decodeUtf8(utf8, pos);
        const std::string_view character = utf8.substr(start, pos - start);
        bool lacking = false;
        std::string encoded = codePoint < 0 ? std::string(character) : encoder.encode(character, &lacking);
        if (!lacking) {
            out += encoded;
            continue;
        }
        char buffer[32];
        if (mode == Mode::Style) {
            std::snprintf(buffer, sizeof buffer, "\\%lX ", codePoint);
        } else if (codePoint > 0xFFFF) {
            const long offset = codePoint - 0x10000;
            std::snprintf(buffer, sizeof buffer, "\\u%04lX\\u%04lX", 0xD800 + (offset >> 10),
                          0xDC00 + (offset & 0x3FF));
        } else {
            std::snprintf(buffer, sizeof buffer, "\\u%04lX", codePoint);
        }
        out += buffer;
    }
    return out;
}

std::string convertedText(std::string_view utf8, CodePageEncoder& encoder)
{
    const std::string lower = asciiLower(utf8);
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    Mode mode = Mode::Html;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (mode != Mode::Html) {
            const std::string_view closing = mode == Mode::Script ? "</script" : "</style";
            std::size_t end = lower.find(closing, pos);
            if (end == std::string::npos)
                end = utf8.size();
            out += encodeEscaped(utf8.substr(pos, end - pos), mode, encoder);
            pos = end;
            mode = Mode::Html;
            continue;
        }
        const std::size_t tag = lower.find('<', pos);
        const std::size_t end = tag == std::string::npos ? utf8.size() : tag;
        out += encoder.encode(utf8.substr(pos, end - pos));
        pos = end;
        if (tag == std::string::npos)
            break;
        const bool script = opensTag(lower, tag, "<script");
        if (!script && !opensTag(lower, tag, "<style")) {
            out += '<';
            ++pos;
            continue;
        }
        std::size_t close = lower.find('>', tag);
        close = close == std::string::npos ? utf8.size() : close + 1;
        out += encoder.encode(utf8.substr(tag, close - tag));
        pos = close;
        mode = script ? Mode::Script : Mode::Style;
    }
    return out;
}

// Replaces the value that follows `key` ("charset", "encoding") inside the
// tags that start with `tagStart` near the start of the page.
void renameDeclarations(std::string& page, std::string_view key, std::string_view tagStart, const std::string& name)
{
    const std::string head = asciiLower(std::string_view(page).substr(0, kDeclarationReach));
    std::string out;
    std::size_t copied = 0;
    for (const auto& [pos, end] : declarationValues(head, key, tagStart)) {
        out.append(page, copied, pos - copied);
        out += name;
        copied = end;
    }
    if (copied == 0)
        return;
    out.append(page, copied, std::string::npos);
    page = std::move(out);
}

}  // namespace

std::string htmlCharsetName(const CodePage& codePage)
{
    switch (codePage.number) {
    case 932:
        return "shift_jis";
    case 936:
        return "gb2312";
    case 949:
        return "ks_c_5601-1987";
    case 950:
        return "big5";
    default:
        return "windows-" + std::to_string(codePage.number);
    }
}

namespace {

// What a page's bytes are in, decided once for storing the page and for
// reading its links, so that both agree.
struct PageSource {
    enum class Kind {
        Ascii,         // the same in every code page
        Utf8,          // valid UTF-8 that declares nothing else
        HelpCodePage,  // taken to be in the help file's code page already
        Declared       // in the code page it declares
    };
    Kind kind = Kind::Ascii;
    std::string declared;  // the declared name, for Declared
    int declaredPage = 0;
    bool bom = false;
};

PageSource pageSource(std::string_view html, int helpCodePage)
{
    PageSource source;
    if (isAsciiText(html))
        return source;
    source.bom = html.starts_with(kUtf8Bom);
    const bool utf8 = isValidUtf8(html);
    source.declared = pageEncoding(html);
    source.declaredPage = source.declared.empty() ? 0 : codePageOfEncoding(source.declared);
    if (utf8 && (source.bom || source.declaredPage == 65001 || source.declaredPage == 0)) {
        source.kind = PageSource::Kind::Utf8;
    } else if (source.declared.empty() || source.declaredPage == 0 || source.declaredPage == 65001 ||
               source.declaredPage == helpCodePage) {
        // An 8-bit page that declares nothing, or declares UTF-8 without
        // being it, is taken to be in the help file's code page already.
        source.kind = PageSource::Kind::HelpCodePage;
    } else {
        source.kind = PageSource::Kind::Declared;
    }
    return source;
}

}  // namespace

bool isPageFileName(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
        return false;
    const std::string extension = asciiLower(path.substr(dot + 1));
    return extension == "htm" || extension == "html" || extension == "xhtml";
}

StoredPage storedPage(std::string_view html, const CodePage& codePage)
{
    StoredPage stored;
    const PageSource source = pageSource(html, codePage.number);
    std::string text;
    switch (source.kind) {
    case PageSource::Kind::Ascii:
    case PageSource::Kind::HelpCodePage:
        return stored;
    case PageSource::Kind::Utf8:
        stored.encoding = "utf-8";
        text = std::string(html.substr(source.bom ? kUtf8Bom.size() : 0));
        break;
    case PageSource::Kind::Declared:
        stored.encoding = source.declared;
        try {
            text = toUtf8(html, iconvNameOf(source.declaredPage, source.declared).c_str());
        } catch (const ConversionError&) {
            stored.kind = StoredPage::Kind::Unreadable;
            return stored;
        }
        break;
    }
    CodePageEncoder encoder(codePage);
    stored.bytes = convertedText(text, encoder);
    const std::string name = htmlCharsetName(codePage);
    renameDeclarations(stored.bytes, "charset", "<meta", name);
    if (stored.bytes.starts_with("<?xml"))
        renameDeclarations(stored.bytes, "encoding", "<?xml", name);
    stored.kind = StoredPage::Kind::Converted;
    return stored;
}

std::string pageLinkEncoding(std::string_view html, int helpCodePage)
{
    const PageSource source = pageSource(html, helpCodePage);
    switch (source.kind) {
    case PageSource::Kind::Ascii:
    case PageSource::Kind::Utf8:
        return {};
    case PageSource::Kind::HelpCodePage:
        return helpCodePage > 0 && helpCodePage != 65001 ? iconvNameOf(helpCodePage, {}) : std::string();
    case PageSource::Kind::Declared:
        break;
    }
    return iconvNameOf(source.declaredPage, source.declared);
}

std::string pageTextInUtf8(std::string_view html, int helpCodePage)
{
    const std::string encoding = pageLinkEncoding(html, helpCodePage);
    if (encoding.empty())
        return std::string(html);
    try {
        return toUtf8(html, encoding.c_str());
    } catch (const ConversionError&) {
        return std::string(html);  // an encoding nobody reads: its links lead nowhere
    }
}

}  // namespace doxel
