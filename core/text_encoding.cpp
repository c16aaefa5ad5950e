#include "core/text_encoding.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>

#include <iconv.h>

#include "core/errors.h"

namespace doxel {
namespace {

// Code points of bytes 0x80 to 0x9F in Windows-1252; the undefined five keep
// their C1 value.
constexpr std::array<unsigned short, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int cp1252ByteFor(unsigned long codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace

long decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    unsigned long codePoint = 0;
    unsigned long minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return -1;
    }
    if (pos + static_cast<std::size_t>(length) > text.size()) {
        ++pos;
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return -1;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        ++pos;
        return -1;
    }
    pos += static_cast<std::size_t>(length);
    return static_cast<long>(codePoint);
}

void appendUtf8(std::string& out, unsigned long codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isValidUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Runs of ASCII are the common case; skip them without decoding,
        // eight bytes at a time.
        std::uint64_t eight = 0;
        if (text.size() - pos >= sizeof eight) {
            std::memcpy(&eight, text.data() + pos, sizeof eight);
            if ((eight & 0x8080808080808080u) == 0) {
                pos += sizeof eight;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (decodeUtf8(text, pos) < 0)
            return false;
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, kHighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const long codePoint = decodeUtf8(text, pos);
        if (codePoint < 0) {
            out += text[start];
            continue;
        }
        const int mapped = cp1252ByteFor(static_cast<unsigned long>(codePoint));
        if (mapped >= 0) {
            out += static_cast<char>(mapped);
        } else {
            out += "&#";
            out += std::to_string(codePoint);
            out += ';';
        }
    }
    return out;
}

std::string_view firstCharacters(std::string_view text, std::size_t limit)
{
    std::size_t pos = 0;
    std::size_t count = 0;
    while (pos < text.size() && count < limit) {
        if (static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        else
            decodeUtf8(text, pos);
        ++count;
    }
    return text.substr(0, pos);
}

std::string oneLine(std::string text)
{
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}

namespace {

// The language declared for each code page is one whose Windows code page it
// is; viewers take the code page from the language id.
constexpr std::array<CodePage, 14> kHelpCodePages = {{
    {1252, "CP1252", 0x409, "Englisch (USA)"},
    {1250, "CP1250", 0x405, "Tschechisch"},
    {1251, "CP1251", 0x419, "Russisch"},
    {1253, "CP1253", 0x408, "Griechisch"},
    {1254, "CP1254", 0x41F, "T\xC3\xBCrkisch"},
    {1257, "CP1257", 0x427, "Litauisch"},
    {1255, "CP1255", 0x40D, "Hebraeisch"},
    {1256, "CP1256", 0x401, "Arabisch (Saudi-Arabien)"},
    {874, "CP874", 0x41E, "Thai"},
    {1258, "CP1258", 0x42A, "Vietnamesisch"},
    {932, "CP932", 0x411, "Japanisch"},
    {936, "CP936", 0x804, "Chinesisch (VR China)"},
    {949, "CP949", 0x412, "Koreanisch"},
    {950, "CP950", 0x404, "Chinesisch (Taiwan)"},
}};

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

iconv_t openIconv(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    // iconv_open reports failure as (iconv_t)-1; compare it as a number.
    if (reinterpret_cast<std::intptr_t>(cd) == -1)
        throw ConversionError(std::string("The conversion from ") + from + " to " + to + " is not available");
    return cd;
}

// Converts as much of `in` as iconv takes, appending to `out`. Returns the
// errno that stopped it (0 when all of `in` was taken) and advances `in`.
int iconvAppend(iconv_t cd, std::string_view& in, std::string& out)
{
    char buffer[4096];
    while (!in.empty()) {
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        in.remove_prefix(in.size() - inLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
            return errno;
    }
    return 0;
}

// Writes out what a stateful converter still holds and resets it.
void iconvFlush(iconv_t cd, std::string& out)
{
    char buffer[64];
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
}

}  // namespace

std::span<const CodePage> helpCodePages()
{
    return kHelpCodePages;
}

const CodePage& windows1252()
{
    return kHelpCodePages.front();
}

const CodePage* codePageByNumber(int number)
{
    for (const CodePage& page : kHelpCodePages) {
        if (page.number == number)
            return &page;
    }
    return nullptr;
}

const CodePage* codePageOfLanguage(int languageId)
{
    for (const CodePage& page : kHelpCodePages) {
        if (page.languageId == languageId)
            return &page;
    }
    return nullptr;
}

const CodePage& codePageForLanguageId(int languageId)
{
    if (const CodePage* exact = codePageOfLanguage(languageId))
        return *exact;
    // Windows' default ANSI code page of each primary language.
    struct Primary {
        int language;
        int codePage;
    };
    static constexpr Primary kPrimary[] = {
        {0x19, 1251}, {0x22, 1251}, {0x23, 1251}, {0x02, 1251}, {0x2F, 1251}, {0x40, 1251}, {0x44, 1251},
        {0x50, 1251}, {0x05, 1250}, {0x15, 1250}, {0x0E, 1250}, {0x1B, 1250}, {0x24, 1250}, {0x18, 1250},
        {0x1C, 1250}, {0x08, 1253}, {0x1F, 1254}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x0D, 1255},
        {0x01, 1256}, {0x29, 1256}, {0x20, 1256}, {0x1E, 874},  {0x2A, 1258}, {0x11, 932},  {0x12, 949},
    };
    const int primary = languageId & 0x3FF;
    if (primary == 0x04)  // Chinese: traditional for Taiwan, Hong Kong and Macao
        return *codePageByNumber(languageId == 0x404 || languageId == 0xC04 || languageId == 0x1404 ? 950 : 936);
    if (primary == 0x1A)  // Serbian in Cyrillic, Croatian and the rest in Latin letters
        return *codePageByNumber(languageId == 0xC1A || languageId == 0x1C1A ? 1251 : 1250);
    for (const Primary& entry : kPrimary) {
        if (entry.language == primary)
            return *codePageByNumber(entry.codePage);
    }
    return windows1252();
}

CodePageEncoder::CodePageEncoder(const CodePage& page) : m_page(page), m_iconv(openIconv(page.iconvName, "UTF-8"))
{
}

CodePageEncoder::~CodePageEncoder()
{
    iconv_close(static_cast<iconv_t>(m_iconv));
}

std::string CodePageEncoder::encode(std::string_view utf8, bool* lacking)
{
    std::string out;
    encodeInto(out, utf8, lacking);
    return out;
}

void CodePageEncoder::encodeInto(std::string& out, std::string_view utf8, bool* lacking)
{
    if (isAscii(utf8)) {
        out += utf8;
        return;
    }
    const auto cd = static_cast<iconv_t>(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string_view rest = utf8;
    while (!rest.empty()) {
        if (iconvAppend(cd, rest, out) == 0)
            break;
        // iconv stopped at a character the code page lacks, or at bytes that
        // are not UTF-8.
        iconvFlush(cd, out);
        std::size_t pos = 0;
        const long codePoint = decodeUtf8(rest, pos);
        if (codePoint < 0) {
            out += rest.front();
        } else {
            out += "&#";
            out += std::to_string(codePoint);
            out += ';';
            if (lacking != nullptr)
                *lacking = true;
        }
        rest.remove_prefix(pos);
    }
    iconvFlush(cd, out);
}

bool CodePageEncoder::holds(std::string_view utf8)
{
    bool lacking = false;
    encode(utf8, &lacking);
    return !lacking;
}

const CodePage& chooseCodePage(std::span<const std::string_view> texts, bool* complete)
{
    // Each distinct character is tried once per code page, not once per text.
    std::set<std::string, std::less<>> characters;
    for (const std::string_view text : texts) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            if (static_cast<unsigned char>(text[pos]) < 0x80) {
                ++pos;
                continue;
            }
            const std::size_t start = pos;
            if (decodeUtf8(text, pos) >= 0)
                characters.emplace(text.substr(start, pos - start));
        }
    }
    if (complete != nullptr)
        *complete = true;
    if (characters.empty())
        return windows1252();

    std::vector<std::set<std::string, std::less<>>> missing(kHelpCodePages.size());
    for (std::size_t i = 0; i < kHelpCodePages.size(); ++i) {
        CodePageEncoder encoder(kHelpCodePages[i]);
        for (const std::string& character : characters) {
            if (!encoder.holds(character))
                missing[i].insert(character);
        }
        if (missing[i].empty())
            return kHelpCodePages[i];
    }
    if (complete != nullptr)
        *complete = false;
    std::size_t best = 0;
    std::size_t fewest = texts.size() + 1;
    for (std::size_t i = 0; i < kHelpCodePages.size(); ++i) {
        std::size_t lacking = 0;
        for (const std::string_view text : texts) {
            std::size_t pos = 0;
            while (pos < text.size()) {
                const std::size_t start = pos;
                if (decodeUtf8(text, pos) >= 0x80 && missing[i].contains(text.substr(start, pos - start))) {
                    ++lacking;
                    break;
                }
            }
        }
        if (lacking < fewest) {
            fewest = lacking;
            best = i;
        }
    }
    return kHelpCodePages[best];
}

CodePageDecoder::CodePageDecoder(const char* iconvName) : m_iconv(openIconv("UTF-8", iconvName))
{
}

CodePageDecoder::~CodePageDecoder()
{
    iconv_close(static_cast<iconv_t>(m_iconv));
}

std::string CodePageDecoder::decode(std::string_view bytes)
{
    const auto cd = static_cast<iconv_t>(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        if (iconvAppend(cd, rest, out) == 0)
            break;
        iconvFlush(cd, out);
        out += "\xEF\xBF\xBD";
        rest.remove_prefix(1);
    }
    iconvFlush(cd, out);
    return out;
}

std::optional<std::string> CodePageDecoder::decodeExactly(std::string_view bytes)
{
    const auto cd = static_cast<iconv_t>(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::string_view rest = bytes;
    if (iconvAppend(cd, rest, out) != 0)
        return std::nullopt;
    iconvFlush(cd, out);
    return out;
}

std::string toUtf8(std::string_view bytes, const char* iconvName)
{
    return CodePageDecoder(iconvName).decode(bytes);
}

}  // namespace doxel
