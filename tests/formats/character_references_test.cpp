#include "formats/character_references.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

TEST(CharacterReferences, DecodesNamedAndNumericReferencesInEitherPlace)
{
    const struct {
        const char* text;
        const char* decoded;
    } cases[] = {
        {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        {"&Auml;&auml;&szlig;&euro;&hellip;&nbsp;", "\xC3\x84\xC3\xA4\xC3\x9F\xE2\x82\xAC\xE2\x80\xA6\xC2\xA0"},
        {"&#65;&#x42;&#X43;&#1046;&#128512;&#68", "ABCЖ😀D"},
        {"&#xD800;&#1114112;&#0;&#99999999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"&#128;&#159;", "\xE2\x82\xAC\xC5\xB8"},  // Windows-1252, as browsers read them
        {"AT&T & &unknown; &#; &#xZZ; &AUML; &", "AT&T & &unknown; &#; &#xZZ; &AUML; &"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeCharacterReferences(c.text), c.decoded) << c.text;
        EXPECT_EQ(decodeCharacterReferences(c.text, {.inAttribute = true}), c.decoded) << c.text;
    }
}

TEST(CharacterReferences, ANameWithoutItsSemicolonIsTextInAnAttributeWhenALetterDigitOrEqualsFollows)
{
    const struct {
        const char* text;
        const char* inText;
        const char* inAttribute;
    } cases[] = {
        {"&notin; &notit;", "\xE2\x88\x89 \xC2\xACit;", "\xE2\x88\x89 &notit;"},
        {"a.htm?x=1&copy=2&amp;y", "a.htm?x=1\xC2\xA9=2&y", "a.htm?x=1&copy=2&y"},
        {"&ampx &amp &amp", "&x & &", "&ampx & &"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeCharacterReferences(c.text), c.inText) << c.text;
        EXPECT_EQ(decodeCharacterReferences(c.text, {.inAttribute = true}), c.inAttribute) << c.text;
    }
}

TEST(CharacterReferences, ANoBreakSpaceBecomesAPlainSpaceOnlyWhenAsked)
{
    EXPECT_EQ(decodeCharacterReferences("a&nbsp;b&nbsp", {.nbspAsSpace = true}), "a b ");
    EXPECT_EQ(decodeCharacterReferences("a&nbsp;b"),
              "a\xC2\xA0"
              "b");
}

}  // namespace
}  // namespace doxel
