#include "core/text_compare.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "core/text_encoding.h"

namespace doxel {

unsigned long foldCase(unsigned long c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs upper/lower on even/odd code points, except
        // for the stretch 0x139..0x148 and 0x179..0x17E that pair odd/even.
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddUpper)
            return (c % 2 == 1) ? c + 1 : c;
        return (c % 2 == 0) ? c + 1 : c;
    }
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

namespace {

// Primary weights: symbols (ordered by code point) < digits < letters.
constexpr std::uint32_t kEnd = 0;
constexpr std::uint32_t kDigitBase = 0x200000;
constexpr std::uint32_t kLetterBase = 0x300000;
// Bytes that are not valid UTF-8 sort as symbols after every code point.
constexpr std::uint32_t kInvalidByteBase = 0x110000;

// The base letter of Latin-1 0xC0..0xFF and Latin Extended-A 0x100..0x17F.
// '*' marks a symbol, '#' a letter of its own (thorn), and '1' to '4' the
// letters that sort as two: ae, ss, ij, oe.
constexpr std::string_view kLatin1Base =
    "aaaaaa1ceeeeiiiidnooooo*ouuuuy#2"
    "aaaaaa1ceeeeiiiidnooooo*ouuuuy#y";
constexpr std::string_view kLatinExtendedABase =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii33jjkkkllllllllll"
    "nnnnnnnnnoooooo44rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
static_assert(kLatin1Base.size() == 0x40);
static_assert(kLatinExtendedABase.size() == 0x80);

struct Collation {
    std::uint32_t primary[2] = {kEnd, kEnd};
    int count = 0;                // primary weights; 0 for an ignorable character
    std::uint32_t secondary = 0;  // accent: 0 for a plain letter
    bool upper = false;
};

Collation letter(std::uint32_t base, std::uint32_t accent, bool upper)
{
    Collation out;
    out.primary[0] = kLetterBase + base;
    out.count = 1;
    out.secondary = accent;
    out.upper = upper;
    return out;
}

Collation symbol(std::uint32_t c)
{
    Collation out;
    out.primary[0] = 1 + c;
    out.count = 1;
    return out;
}

bool isIgnorable(std::uint32_t c)
{
    // A word sort passes over hyphens and apostrophes.
    return c == '-' || c == '\'' || c == 0xAD || c == 0x2010 || c == 0x2011 || c == 0x2019;
}

bool isSymbol(std::uint32_t c)
{
    return c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c < 0x2C00) || (c >= 0x3000 && c < 0x3040) ||
           (c >= 0xFE30 && c < 0xFE70) || (c >= 0xFF00 && c < 0xFF10) || (c >= 0x1F000 && c < kInvalidByteBase) ||
           c >= kInvalidByteBase;
}

Collation latinLetter(std::uint32_t c, char base)
{
    const auto folded = static_cast<std::uint32_t>(foldCase(c));
    const bool upper = folded != c;
    static constexpr const char* kPairs[] = {"ae", "ss", "ij", "oe"};
    if (base >= '1' && base <= '4') {
        const char* pair = kPairs[base - '1'];
        Collation out = letter(static_cast<unsigned char>(pair[0]), folded, upper);
        out.primary[1] = kLetterBase + static_cast<unsigned char>(pair[1]);
        out.count = 2;
        return out;
    }
    if (base == '#')
        return letter(folded, 0, upper);
    return letter(static_cast<unsigned char>(base), folded, upper);
}

Collation collate(std::uint32_t c)
{
    if (isIgnorable(c))
        return {};
    if (c < 0x80) {
        if (c >= '0' && c <= '9') {
            Collation out;
            out.primary[0] = kDigitBase + (c - '0');
            out.count = 1;
            return out;
        }
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return letter(static_cast<std::uint32_t>(foldCase(c)), 0, c <= 'Z');
        return symbol(c);
    }
    if (isSymbol(c))
        return symbol(c);
    if (c <= 0xFF)
        return latinLetter(c, kLatin1Base[c - 0xC0]);
    if (c <= 0x17F)
        return latinLetter(c, kLatinExtendedABase[c - 0x100]);
    const auto folded = static_cast<std::uint32_t>(foldCase(c));
    if (folded == 0x451)  // Cyrillic yo sorts as ye with an accent
        return letter(0x435, folded, folded != c);
    return letter(folded, 0, folded != c);
}

// Primary weights of ASCII, which most captions and file names are made
// of, and their one-byte form for keys (0 for the hyphen and apostrophe,
// which have none): symbols from 0x01, digits from 0x50, letters from 0x60.
struct AsciiTables {
    std::uint32_t primary[0x80] = {};
    std::uint8_t keyByte[0x80] = {};
};

constexpr AsciiTables makeAsciiTables()
{
    AsciiTables tables;
    std::uint8_t symbolRank = 1;
    for (std::uint32_t c = 0; c < 0x80; ++c) {
        if (c == '-' || c == '\'')
            continue;
        if (c >= '0' && c <= '9') {
            tables.primary[c] = kDigitBase + (c - '0');
            tables.keyByte[c] = static_cast<std::uint8_t>(0x50 + (c - '0'));
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const std::uint32_t lower = c | 0x20;
            tables.primary[c] = kLetterBase + lower;
            tables.keyByte[c] = static_cast<std::uint8_t>(0x60 + (lower - 'a'));
        } else {
            tables.primary[c] = 1 + c;
            tables.keyByte[c] = symbolRank++;
        }
    }
    return tables;
}

constexpr AsciiTables kAscii = makeAsciiTables();
static_assert(kAscii.keyByte[0x7F] < 0x50, "ASCII symbols must rank below digits in keys");

// The code point at `pos`, or kInvalidByteBase plus the byte for a byte
// that does not start valid UTF-8.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    const std::size_t at = pos;
    const long c = decodeUtf8(text, pos);
    if (c < 0)
        return kInvalidByteBase + static_cast<unsigned char>(text[at]);
    return static_cast<std::uint32_t>(c);
}

// Walks the primary weights of a text, expanding letters that sort as two.
class PrimaryCursor {
public:
    explicit PrimaryCursor(std::string_view text) : m_text(text) {}

    std::uint32_t next()
    {
        if (m_pending != kEnd) {
            const std::uint32_t weight = m_pending;
            m_pending = kEnd;
            return weight;
        }
        while (m_pos < m_text.size()) {
            const auto byte = static_cast<unsigned char>(m_text[m_pos]);
            if (byte < 0x80) {
                ++m_pos;
                if (kAscii.primary[byte] != kEnd)
                    return kAscii.primary[byte];
                ++m_ignorables;
                continue;
            }
            const Collation c = collate(nextCodePoint(m_text, m_pos));
            if (c.count == 0) {
                ++m_ignorables;
                continue;
            }
            if (c.count == 2)
                m_pending = c.primary[1];
            return c.primary[0];
        }
        return kEnd;
    }
    int ignorables() const { return m_ignorables; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::uint32_t m_pending = kEnd;
    int m_ignorables = 0;
};

// Walks the characters that are not ignorable, for the accent and case
// levels.
class CharacterCursor {
public:
    explicit CharacterCursor(std::string_view text) : m_text(text) {}

    bool next(Collation& out)
    {
        while (m_pos < m_text.size()) {
            out = collate(nextCodePoint(m_text, m_pos));
            if (out.count != 0)
                return true;
        }
        return false;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

int sign(bool less)
{
    return less ? -1 : 1;
}

}  // namespace

CaptionKey captionKey(std::string_view text)
{
    unsigned char bytes[16] = {};
    std::size_t filled = 0;
    std::size_t known = sizeof bytes;
    for (const char c : text) {
        if (filled == sizeof bytes)
            break;
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            known = filled;
            break;
        }
        if (kAscii.keyByte[byte] != 0)
            bytes[filled++] = kAscii.keyByte[byte];
    }
    CaptionKey key;
    for (std::size_t i = 0; i < 8; ++i) {
        key.high = (key.high << 8) | bytes[i];
        key.low = (key.low << 8) | bytes[i + 8];
    }
    key.known = static_cast<std::uint8_t>(known);
    return key;
}

int compareCaptionKeys(const CaptionKey& a, const CaptionKey& b)
{
    std::size_t firstDifference = 0;
    bool less = false;
    if (a.high != b.high) {
        firstDifference = static_cast<std::size_t>(std::countl_zero(a.high ^ b.high)) / 8;
        less = a.high < b.high;
    } else if (a.low != b.low) {
        firstDifference = 8 + static_cast<std::size_t>(std::countl_zero(a.low ^ b.low)) / 8;
        less = a.low < b.low;
    } else {
        return 0;
    }
    if (firstDifference >= std::min(a.known, b.known))
        return 0;
    return less ? -1 : 1;
}

int compareCaptions(std::string_view a, std::string_view b)
{
    if (a == b)
        return 0;

    PrimaryCursor pa(a);
    PrimaryCursor pb(b);
    for (;;) {
        const std::uint32_t wa = pa.next();
        const std::uint32_t wb = pb.next();
        if (wa != wb)
            return sign(wa < wb);
        if (wa == kEnd)
            break;
    }

    CharacterCursor ca(a);
    CharacterCursor cb(b);
    int caseOrder = 0;
    for (;;) {
        Collation x;
        Collation y;
        const bool hasA = ca.next(x);
        const bool hasB = cb.next(y);
        if (!hasA || !hasB) {
            if (hasA != hasB)
                return sign(!hasA);
            break;
        }
        if (x.secondary != y.secondary)
            return sign(x.secondary < y.secondary);
        if (caseOrder == 0 && x.upper != y.upper)
            caseOrder = sign(!x.upper);
    }
    if (caseOrder != 0)
        return caseOrder;

    if (pa.ignorables() != pb.ignorables())
        return sign(pa.ignorables() < pb.ignorables());
    return sign(a < b);
}

}  // namespace doxel
