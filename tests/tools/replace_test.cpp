#include "tools/replace.h"

#include <gtest/gtest.h>

#include "core/text_lines.h"

namespace doxel {
namespace {

TEST(ReplaceEveryOccurrence, ReplacesLeftToRightWithoutOverlapOrLooping)
{
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        bool ignoreCase;
        const char* expected;
        std::size_t count;
    } cases[] = {
        {"aaa", "aa", "b", false, "ba", 1},
        {"axb", "x", "xx", false, "axxb", 1},
        {"xxx", "x", "xx", false, "xxxxxx", 3},
        {"BGCOLOR=1 BgColor=2 bgcolor=3", "bgcolor", "Bg", true, "Bg=1 Bg=2 Bg=3", 3},
        {"BGCOLOR=1 BgColor=2", "bgcolor", "x", false, "BGCOLOR=1 BgColor=2", 0},
        {"Keep CASE here", "case", "it", true, "Keep it here", 1},
        {"\xC3\xA4 \xC3\x84", "\xC3\xA4", "a", true, "a \xC3\x84", 1},  // only a to z fold
        {"[{@`", "{", "", true, "[@`", 1},                              // bytes next to the letters do not fold
        {"abc", "", "x", false, "abc", 0},
        {"", "a", "x", true, "", 0},
        {"delete me", " me", "", false, "delete", 1},
        {"ab", "abc", "x", false, "ab", 0},
    };
    for (const auto& c : cases) {
        std::size_t count = 99;
        EXPECT_EQ(replaceEveryOccurrence(c.text, c.search, c.replacement, c.ignoreCase, &count), c.expected) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
    }
}

TEST(findPos, CountsFromOneAndGivesZeroWhenAbsent)
{
    EXPECT_EQ(findPos("b", "abc", false), 2u);
    EXPECT_EQ(findPos("B", "abc", false), 0u);
    EXPECT_EQ(findPos("B", "abc", true), 2u);
    EXPECT_EQ(findPos("", "abc", true), 0u);
    EXPECT_EQ(findPos("abcd", "abc", true), 0u);
}

// The whole road of one file: line model (CR LF, CR or LF), "|" for line
// ends in the typed strings, the file's own line ends kept, the file's
// own "|" and what follows a Ctrl-Z untouched, and a file without the
// search string given back byte for byte.
TEST(ReplacedFileBytes, FollowsTheLineModelAndKeepsTheFilesOwnBytes)
{
    const struct {
        const char* name;
        std::string file;
        const char* search;
        const char* replacement;
        std::string expected;
    } cases[] = {
        // CR LF text: as it has always been written.
        {"last line gains CR LF", "a\r\nb", "b", "c", "a\r\nc\r\n"},
        {"a line end before the end adds no line", "x\r\n", "x", "y", "y\r\n"},
        {"paragraph across lines", "t</P>\r\n<P>u\r\n", "</P>|<P>", "</P><P>", "t</P><P>u\r\n"},
        {"replacement inserts a line end", "a,b", ",", "|", "a\r\nb\r\n"},
        {"search for a line end", "a\r\nb\r\n", "|", " ", "a b "},
        {"the file's own bar stays", "x|y\r\n", "y", "Y", "x|Y\r\n"},
        {"own bar is no line end", "x|y\r\n", "x|y", "z", "x|y\r\n"},
        {"empty file stays empty", "", "a", "b", ""},
        // Nothing found: the bytes stay, whatever their line ends.
        {"no match, no final line end", "a\r\nb", "zz", "y", "a\r\nb"},
        {"no match, CR-only", "a\rb\r", "zz", "y", "a\rb\r"},
        {"no match, lone LF", "a\nb", "zz", "y", "a\nb"},
        // LF and CR text keeps its line ends; "|" meets them all.
        {"LF file", "a\nb\n", "b", "c", "a\nc\n"},
        {"LF file gains an LF", "a\nb", "b", "c", "a\nc\n"},
        {"CR file", "a\rb\r", "a", "x", "x\rb\r"},
        {"mixed ends each kept", "a\r\nb\nc\r", "b", "B", "a\r\nB\nc\r"},
        {"bar meets an LF", "t</P>\n<P>u\n", "</P>|<P>", "</P><P>", "t</P><P>u\n"},
        {"bar meets a CR", "t</P>\r<P>u\r", "</P>|<P>", "</P>|<!---->|<P>", "t</P>\r<!---->\r<P>u\r"},
        {"inserted end is the file's own", "a,b\n", ",", "|", "a\nb\n"},
        {"inserted end in a mixed file", "a\nb\r\nc,d\r\n", ",", "|", "a\nb\r\nc\nd\r\n"},
        {"search for LF ends", "a\nb\n", "|", " ", "a b "},
        {"typed LF is a line end", "a\nb\n", "a\nb", "c", "c\n"},
        {"typed CR LF meets an LF", "a\nb\n", "a\r\nb", "c", "c\n"},
        {"line end kept beside a match across lines", "a\nb\r\nc\r", "b|c", "x", "a\nx\r"},
        // The end of the text.
        {"Ctrl-Z and after untouched",
         std::string("a\r\n\x1a"
                     "a\r\r|",
                     8),
         "a", "b",
         std::string("b\r\n\x1a"
                     "a\r\r|",
                     8)},
        {"Ctrl-Z after a last line", std::string("a\x1a\n", 3), "a", "b", std::string("b\r\n\x1a\n", 5)},
        {"Ctrl-Z after an LF line", std::string("a\nb\x1a\r", 5), "b|", "c|", std::string("a\nc\n\x1a\r", 6)},
        {"Ctrl-Z first",
         std::string("\x1a"
                     "a",
                     2),
         "a", "b",
         std::string("\x1a"
                     "a",
                     2)},
    };
    for (const auto& c : cases) {
        const ReplaceStrings strings{c.search, c.replacement, true};
        EXPECT_EQ(replacedFileBytes(c.file, strings), c.expected) << c.name;
    }
}

// Every short file over the bytes that matter to the line model, searched
// with strings with and without line ends: the shortcut for searches
// without a line end must give what joining, replacing and splitting give,
// and a file without a match comes back as it was.
TEST(ReplacedFileBytes, TheShortcutGivesWhatJoiningGives)
{
    const char alphabet[] = {'a', '\r', '\n', '|', '\x1a'};
    const ReplaceStrings searches[] = {
        {"a", "b|", true}, {"a", "\n", false}, {"aa", "A", true}, {"|", "-", true},
        {"a|a", "", true}, {"\n", "x", true},  {"A", "aa", true}, {"a", "", true},
    };
    for (std::size_t length = 0; length <= 6; ++length) {
        std::size_t combinations = 1;
        for (std::size_t i = 0; i < length; ++i)
            combinations *= std::size(alphabet);
        for (std::size_t n = 0; n < combinations; ++n) {
            std::string file;
            for (std::size_t i = 0, rest = n; i < length; ++i, rest /= std::size(alphabet))
                file += alphabet[rest % std::size(alphabet)];
            for (const ReplaceStrings& strings : searches) {
                std::size_t count = 0;
                std::string expected = replaceJoined(joinLines(file), typedLineEnds(strings.search),
                                                     typedLineEnds(strings.replacement), strings.ignoreCase, &count);
                if (count == 0)
                    expected = file;
                ASSERT_EQ(replacedFileBytes(file, strings), expected)
                    << testing::PrintToString(file) << " " << strings.search << " -> " << strings.replacement;
            }
        }
    }
}

TEST(TextKind, NulBytesInTheTextAndWideByteOrderMarks)
{
    const struct {
        std::string bytes;
        TextKind kind;
    } cases[] = {
        {"plain\r\n", TextKind::Text},
        {"", TextKind::Text},
        {"\xEF\xBB\xBFutf-8", TextKind::Text},
        {std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), TextKind::Binary},
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0",
                     8),
         TextKind::Binary},
        {std::string("a\x1a\0\0", 4), TextKind::Text},  // the tail may hold anything
        {std::string("\xFF\xFEh\0i\0", 6), TextKind::WideUnicode},
        {std::string("\xFE\xFF\0h\0i", 6), TextKind::WideUnicode},
        {std::string("\0\0\xFE\xFF", 4), TextKind::WideUnicode},
        {std::string("h\0i\0", 4), TextKind::Binary},  // UTF-16 without a mark
    };
    for (const auto& c : cases)
        EXPECT_EQ(textKindOf(c.bytes), c.kind) << testing::PrintToString(c.bytes);
}

struct Collect {
    std::vector<std::string> lines{""};
    void text(std::string_view piece) { lines.back().append(piece); }
    void lineEnd() { lines.emplace_back(); }
};

// The line model is fed in pieces by the readers; where a piece ends must
// not matter, a CR LF split between two pieces included.
TEST(TextLines, GiveTheSameLinesWhateverThePieces)
{
    const std::string texts[] = {
        "a\r\nb", "a\r\n\r\nb\r\n", "\r\n", "\n", "a\rb\nc\r\n", std::string("ab\r\x1a\nc", 6), "", "\r\r\n\n",
    };
    for (const std::string& text : texts) {
        Collect whole;
        TextLines lines;
        lines.feed(text, whole);
        lines.finish(whole);
        for (std::size_t split = 0; split <= text.size(); ++split) {
            Collect pieces;
            TextLines split_lines;
            split_lines.feed(std::string_view(text).substr(0, split), pieces);
            split_lines.feed(std::string_view(text).substr(split), pieces);
            split_lines.finish(pieces);
            EXPECT_EQ(pieces.lines, whole.lines) << testing::PrintToString(text) << " split at " << split;
        }
    }
    // Read as the content tools read them, LF ends a line too.
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } anyEnd[] = {
        {"a\nb", {"a", "b", ""}},
        {"a\r\nb\rc\n", {"a", "b", "c", ""}},
        {"\n\n", {"", "", ""}},
        {"a\n\r\nb", {"a", "", "b", ""}},
    };
    for (const auto& c : anyEnd) {
        for (std::size_t split = 0; split <= c.text.size(); ++split) {
            Collect pieces;
            TextLines lines(TextLines::LineEnds::CrOrLf);
            lines.feed(std::string_view(c.text).substr(0, split), pieces);
            lines.feed(std::string_view(c.text).substr(split), pieces);
            lines.finish(pieces);
            EXPECT_EQ(pieces.lines, c.lines) << testing::PrintToString(c.text) << " split at " << split;
        }
    }

    Collect lf;
    TextLines lines;
    lines.feed("\r", lf);
    lines.feed("\n\n", lf);
    lines.finish(lf);
    EXPECT_EQ(lf.lines, (std::vector<std::string>{"", "\n", ""}));
}

}  // namespace
}  // namespace doxel
