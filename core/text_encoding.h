#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// Texts are held as UTF-8. Files written on Windows arrive in
// Windows-1252; the compiler input files leave in the code page of the help
// file's language (see CodePage).

bool isValidUtf8(std::string_view text);

// Every byte as its Windows-1252 character. The five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls
// of the same value, so nothing is lost.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character that code page lacks becomes a decimal
// character reference ("Ж" gives "&#1046;"). A byte that is not part of
// valid UTF-8 is passed through unchanged.
std::string utf8ToCp1252(std::string_view text);

// The first `limit` characters (code points) of a UTF-8 text, never cutting
// a character in half.
std::string_view firstCharacters(std::string_view text, std::size_t limit);

// Decodes one UTF-8 character at `pos`; returns its code point and advances
// `pos`, or returns -1 and advances by one byte on an invalid sequence.
long decodeUtf8(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, unsigned long codePoint);

// `text` with every control character (line breaks, tabs, BEL, DEL) turned
// into a space: captions and keywords are one line of the project file,
// where BEL separates a keyword from its file.
std::string oneLine(std::string text);

// A Windows code page that a help file can be written in, with the language
// its help project declares for it ("Language=0x419 Russisch"): viewers read
// the contents, index, title and pages of a help file in the code page of
// its language.
struct CodePage {
    int number;                // 1251
    const char* iconvName;     // "CP1251"
    int languageId;            // 0x419
    const char* languageName;  // "Russisch", UTF-8
};

// The code pages a help file is written in, in order of preference:
// Windows-1252 first, then 1250, 1251, 1253, 1254, 1257, 1255, 1256, 874,
// 1258, 932, 936, 949, 950.
std::span<const CodePage> helpCodePages();
const CodePage& windows1252();
// The code page of that number, or null.
const CodePage* codePageByNumber(int number);
// The code page whose language id is `languageId` (0x419 gives Windows-1251),
// or null when no help code page declares that id.
const CodePage* codePageOfLanguage(int languageId);

// The code page in which viewers read a help file of the language
// `languageId` (0x407 German gives Windows-1252, 0x422 Ukrainian
// Windows-1251): its exact language first, then its primary language;
// Windows-1252 for languages these code pages do not serve.
const CodePage& codePageForLanguageId(int languageId);

// The first code page of helpCodePages that holds every character of every
// text. When none does, the one under which the fewest texts lack a
// character (the earlier one on a tie); `complete` says which case it was.
const CodePage& chooseCodePage(std::span<const std::string_view> texts, bool* complete = nullptr);

// Converts UTF-8 into one code page through iconv. A character the code page
// lacks becomes a decimal character reference ("Ж" in Windows-1252 gives
// "&#1046;"); a byte that is not part of valid UTF-8 passes unchanged.
class CodePageEncoder {
public:
    // Throws ConversionError when iconv does not know the code page.
    explicit CodePageEncoder(const CodePage& page);
    ~CodePageEncoder();
    CodePageEncoder(const CodePageEncoder&) = delete;
    CodePageEncoder& operator=(const CodePageEncoder&) = delete;

    const CodePage& codePage() const { return m_page; }
    // `lacking` is set when a character had to become a reference.
    std::string encode(std::string_view utf8, bool* lacking = nullptr);
    // encode, appended to `out`: writers of large files build their text
    // without a string per piece.
    void encodeInto(std::string& out, std::string_view utf8, bool* lacking = nullptr);
    bool holds(std::string_view utf8);

private:
    bool encodeCharacter(std::string_view character, std::string& out);

    const CodePage& m_page;
    void* m_iconv;
};

// Bytes in the code page named as iconv knows it ("CP1251", "UTF-8") turned
// into UTF-8; a byte sequence the code page does not define becomes U+FFFD.
// Throws ConversionError when iconv does not know the name.
std::string toUtf8(std::string_view bytes, const char* iconvName);

// toUtf8 for many texts of one code page, through one conversion kept open.
class CodePageDecoder {
public:
    // Throws ConversionError when iconv does not know the name.
    explicit CodePageDecoder(const char* iconvName);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    // As toUtf8.
    std::string decode(std::string_view bytes);
    // Nothing when a byte sequence is not defined in the code page.
    std::optional<std::string> decodeExactly(std::string_view bytes);

private:
    void* m_iconv;
};

}  // namespace doxel
