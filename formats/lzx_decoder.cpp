#include "formats/lzx_decoder.h"

#include "formats/lzx_format.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace doxel {
namespace {

constexpr std::uint32_t kLiterals = 256;
constexpr std::uint32_t kMinMatch = 2;
constexpr std::uint32_t kLengthSymbols = 249;
constexpr std::size_t kPretreeSymbols = 20;

enum BlockType { kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

// The extra bits and the first distance of each position slot.
struct Slots {
    std::uint8_t extraBits[51];
    std::uint32_t base[51];
    Slots()
    {
        std::uint8_t extra = 0;
        for (int i = 0; i < 51; i += 2) {
            extraBits[i] = extra;
            if (i + 1 < 51)
                extraBits[i + 1] = extra;
            if (i != 0 && extra < 17)
                ++extra;
        }
        std::uint32_t next = 0;
        for (int i = 0; i < 51; ++i) {
            base[i] = next;
            next += 1u << extraBits[i];
        }
    }
};
const Slots kSlots;

[[noreturn]] void damaged(const std::string& what)
{
    throw LzxDecoder::Damaged(what);
}

}  // namespace

// The bit stream: 16-bit little-endian words, each read from its highest
// bit. Past the end of the input it reads zeros; the frame checks at its
// end that no more than the last word's padding was taken from there.
struct LzxDecoder::Bits {
    std::string_view input;
    std::size_t position = 0;
    std::uint32_t buffer = 0;  // the next bit is bit 31
    int count = 0;

    std::uint32_t byteAt(std::size_t i) const { return i < input.size() ? static_cast<std::uint8_t>(input[i]) : 0u; }
    void ensure(int n)
    {
        while (count < n) {
            const std::uint32_t word = byteAt(position) | (byteAt(position + 1) << 8);
            buffer |= word << (16 - count);
            count += 16;
            position += 2;
        }
    }
    std::uint32_t peek(int n) const { return buffer >> (32 - n); }
    void remove(int n)
    {
        buffer <<= n;
        count -= n;
    }
    std::uint32_t read(int n)
    {
        if (n == 0)
            return 0;
        ensure(n);
        const std::uint32_t value = peek(n);
        remove(n);
        return value;
    }
    // The bytes taken so far; a whole word loaded but not used is not taken.
    std::size_t used() const { return position - static_cast<std::size_t>(count / 16) * 2; }
    void restart()
    {
        buffer = 0;
        count = 0;
    }

    std::uint32_t symbol(const Tree& tree)
    {
        if (tree.m_empty)
            damaged("a code of an empty tree is used");
        ensure(16);
        const std::uint32_t top = peek(16);
        const std::uint32_t fast = top >> (16 - Tree::kFastBits);
        if (tree.m_fastLength[fast] != 0) {
            remove(tree.m_fastLength[fast]);
            return tree.m_fastSymbol[fast] - 1u;
        }
        // A longer code, found the canonical way.
        std::uint32_t code = 0;
        std::uint32_t first = 0;
        std::uint32_t index = 0;
        for (int length = 1; length <= 16; ++length) {
            code |= (top >> (16 - length)) & 1u;
            const std::uint32_t codes = tree.m_count[length];
            if (code - first < codes) {
                remove(length);
                return tree.m_sorted[index + code - first];
            }
            index += codes;
            first = (first + codes) << 1;
            code <<= 1;
        }
        damaged("a code that no symbol has");
    }
};

bool LzxDecoder::Tree::build(const std::uint8_t* lengths, std::size_t count)
{
    std::fill(std::begin(m_count), std::end(m_count), 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (lengths[i] > 16)
            return false;
        ++m_count[lengths[i]];
    }
    m_count[0] = 0;
    m_empty = true;
    std::int64_t left = 1;
    for (int length = 1; length <= 16; ++length) {
        left = left * 2 - m_count[length];
        if (left < 0)
            return false;  // more codes than the lengths allow
        if (m_count[length] != 0)
            m_empty = false;
    }
    if (m_empty)
        return true;
    if (left != 0)
        return false;  // codes that lead nowhere

    m_sorted.clear();
    for (int length = 1; length <= 16; ++length) {
        for (std::size_t i = 0; i < count; ++i) {
            if (lengths[i] == length)
                m_sorted.push_back(static_cast<std::uint16_t>(i));
        }
    }
    std::fill(m_fastLength.begin(), m_fastLength.end(), 0);
    std::uint32_t code = 0;
    std::size_t next = 0;
    for (int length = 1; length <= 16; ++length) {
        for (std::uint32_t n = 0; n < m_count[length]; ++n, ++code, ++next) {
            if (length > kFastBits)
                continue;
            const std::uint32_t span = 1u << (kFastBits - length);
            const std::uint32_t start = code << (kFastBits - length);
            for (std::uint32_t i = 0; i < span; ++i) {
                m_fastSymbol[start + i] = static_cast<std::uint16_t>(m_sorted[next] + 1);
                m_fastLength[start + i] = static_cast<std::uint8_t>(length);
            }
        }
        code <<= 1;
    }
    return true;
}

LzxDecoder::LzxDecoder(int windowBits)
{
    if (windowBits < 15 || windowBits > 21)
        damaged("a window of 2^" + std::to_string(windowBits) + " bytes, where LZX has 2^15 to 2^21");
    m_windowSize = 1u << windowBits;
    m_mainElements = kLiterals + static_cast<std::uint32_t>(lzxPositionSlots(windowBits)) * 8;
    m_window.assign(m_windowSize, 0);
    m_mainLengths.assign(m_mainElements, 0);
    m_lengthLengths.assign(kLengthSymbols, 0);
}

void LzxDecoder::reset()
{
    m_repeated[0] = m_repeated[1] = m_repeated[2] = 1;
    m_headerRead = false;
    m_intelPosition = 0;
    m_intelStarted = false;
    m_framesRead = 0;
    m_blockType = 0;
    m_blockLength = 0;
    m_blockRemaining = 0;
    m_windowPosition = 0;
    std::fill(m_mainLengths.begin(), m_mainLengths.end(), 0);
    std::fill(m_lengthLengths.begin(), m_lengthLengths.end(), 0);
}

// A tree's lengths as changes to the lengths of the block before, coded
// with a small tree of their own.
void LzxDecoder::readLengths(Bits& bits, std::uint8_t* lengths, std::size_t first, std::size_t last)
{
    std::uint8_t pretreeLengths[kPretreeSymbols];
    for (std::uint8_t& length : pretreeLengths)
        length = static_cast<std::uint8_t>(bits.read(4));
    Tree pretree;
    if (!pretree.build(pretreeLengths, kPretreeSymbols))
        damaged("a damaged tree of tree lengths");
    const auto changed = [](std::uint8_t old, std::uint32_t delta) {
        return static_cast<std::uint8_t>((old + 17 - delta) % 17);
    };
    for (std::size_t i = first; i < last;) {
        const std::uint32_t code = bits.symbol(pretree);
        std::size_t run = 1;
        std::uint8_t value = 0;
        if (code == 17) {
            run = bits.read(4) + 4;
        } else if (code == 18) {
            run = bits.read(5) + 20;
        } else if (code == 19) {
            run = bits.read(1) + 4;
            const std::uint32_t delta = bits.symbol(pretree);
            if (delta > 16)
                damaged("a tree length out of range");
            value = changed(lengths[i], delta);
        } else {
            value = changed(lengths[i], code);
        }
        if (run > last - i)
            damaged("tree lengths past the end of the tree");
        std::fill(lengths + i, lengths + i + run, value);
        i += run;
    }
}

void LzxDecoder::readBlockHeader(Bits& bits)
{
    if (m_blockType == kUncompressed) {
        // An uncompressed block ends on a 16-bit boundary.
        if (m_blockLength & 1u)
            ++bits.position;
        bits.restart();
    }
    m_blockType = static_cast<int>(bits.read(3));
    const std::uint32_t high = bits.read(16);
    m_blockLength = (high << 8) | bits.read(8);
    m_blockRemaining = m_blockLength;
    switch (m_blockType) {
    case kAligned:
        for (std::uint8_t& length : m_alignedLengths)
            length = static_cast<std::uint8_t>(bits.read(3));
        if (!m_aligned.build(m_alignedLengths, 8))
            damaged("a damaged aligned offset tree");
        [[fallthrough]];
    case kVerbatim:
        readLengths(bits, m_mainLengths.data(), 0, kLiterals);
        readLengths(bits, m_mainLengths.data(), kLiterals, m_mainElements);
        if (!m_main.build(m_mainLengths.data(), m_mainElements))
            damaged("a damaged main tree");
        if (m_mainLengths[0xE8] != 0)
            m_intelStarted = true;
        readLengths(bits, m_lengthLengths.data(), 0, kLengthSymbols);
        if (!m_length.build(m_lengthLengths.data(), kLengthSymbols))
            damaged("a damaged length tree");
        break;
    case kUncompressed: {
        m_intelStarted = true;
        // Up to 16 bits of padding to the next word, then the repeated
        // offsets as they stand.
        bits.ensure(16);
        if (bits.count > 16)
            bits.position -= 2;
        bits.restart();
        for (std::uint32_t& offset : m_repeated) {
            offset = 0;
            for (int i = 0; i < 4; ++i)
                offset |= bits.byteAt(bits.position + static_cast<std::size_t>(i)) << (8 * i);
            bits.position += 4;
        }
        break;
    }
    default:
        damaged("a block of unknown type " + std::to_string(m_blockType));
    }
}

void LzxDecoder::decodeFrame(std::string_view input, std::uint8_t* output, std::size_t outputSize, bool last)
{
    if (outputSize == 0 || outputSize > kLzxFrameSize)
        damaged("a frame of " + std::to_string(outputSize) + " bytes");
    Bits bits{input};
    if (!m_headerRead) {
        std::uint32_t fileSize = 0;
        if (bits.read(1) != 0) {
            const std::uint32_t high = bits.read(16);
            fileSize = (high << 16) | bits.read(16);
        }
        m_intelFileSize = fileSize;
        m_headerRead = true;
    }

    m_windowPosition &= m_windowSize - 1;
    // Frames are whole parts of the window, so a frame never wraps.
    if (m_windowPosition + outputSize > m_windowSize)
        damaged("a frame that does not fit the window");
    const std::uint32_t frameStart = m_windowPosition;
    const std::uint32_t frameEnd = frameStart + static_cast<std::uint32_t>(outputSize);
    // Some compilers code the last frame as a whole one, and its last
    // match may run past the end of the data.
    const std::uint32_t matchEnd = last ? frameStart + static_cast<std::uint32_t>(kLzxFrameSize) : frameEnd;
    std::uint8_t* const window = m_window.data();
    std::uint32_t& position = m_windowPosition;
    std::uint32_t* const repeated = m_repeated;

    while (position < frameEnd) {
        if (m_blockRemaining == 0) {
            readBlockHeader(bits);
            if (m_blockRemaining == 0)
                damaged("an empty block");
        }
        const std::uint32_t run = std::min(m_blockRemaining, frameEnd - position);
        const std::uint32_t runEnd = position + run;
        if (m_blockType == kUncompressed) {
            if (bits.position > input.size() || input.size() - bits.position < run)
                damaged("an uncompressed block longer than its data");
            std::memcpy(window + position, input.data() + bits.position, run);
            bits.position += run;
            position = runEnd;
            m_blockRemaining -= run;
            continue;
        }
        while (position < runEnd) {
            const std::uint32_t main = bits.symbol(m_main);
            if (main < kLiterals) {
                window[position++] = static_cast<std::uint8_t>(main);
                continue;
            }
            const std::uint32_t element = main - kLiterals;
            std::uint32_t length = element & 7u;
            if (length == 7)
                length += bits.symbol(m_length);
            length += kMinMatch;
            std::uint32_t slot = element >> 3;
            std::uint32_t offset = 0;
            if (slot > 2) {
                const int extra = kSlots.extraBits[slot];
                offset = kSlots.base[slot] - 2;
                if (m_blockType == kAligned && extra >= 3) {
                    offset += bits.read(extra - 3) << 3;
                    offset += bits.symbol(m_aligned);
                } else if (slot == 3) {
                    offset = 1;
                } else {
                    offset += bits.read(extra);
                }
                repeated[2] = repeated[1];
                repeated[1] = repeated[0];
                repeated[0] = offset;
            } else {
                offset = repeated[slot];
                repeated[slot] = repeated[0];
                repeated[0] = offset;
            }
            // A match may run on into the next block, never past the frame.
            if (length > matchEnd - position)
                damaged("a match past the end of its frame");
            if (offset == 0 || offset > m_windowSize)
                damaged("a match from outside the window");
            std::uint32_t from = (position + m_windowSize - offset) & (m_windowSize - 1);
            for (std::uint32_t i = 0; i < length; ++i) {
                window[position++] = window[from];
                from = (from + 1) & (m_windowSize - 1);
            }
        }
        const std::uint32_t decoded = position - (runEnd - run);
        if (decoded > m_blockRemaining)
            damaged("a match past the end of its block");
        m_blockRemaining -= decoded;
    }
    // Only the padding of the last word may lie past the end of the data.
    if (bits.used() > input.size() + 2)
        damaged("a frame that needs more data than it has");

    std::memcpy(output, window + frameStart, outputSize);
    // Call translation: x86 CALL targets were stored as absolute addresses.
    const bool translate = m_framesRead++ < 32768 && m_intelFileSize != 0;
    if (!translate)
        return;
    if (outputSize <= 6 || !m_intelStarted) {
        m_intelPosition += static_cast<std::uint32_t>(outputSize);
        return;
    }
    auto current = static_cast<std::int64_t>(m_intelPosition);
    const auto fileSize = static_cast<std::int64_t>(m_intelFileSize);
    m_intelPosition += static_cast<std::uint32_t>(outputSize);
    std::uint8_t* data = output;
    std::uint8_t* const end = output + outputSize - 10;
    while (data < end) {
        if (*data++ != 0xE8) {
            ++current;
            continue;
        }
        const auto absolute = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[0]) | (data[1] << 8) |
                                                        (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24));
        if (absolute >= -current && absolute < fileSize) {
            const std::int64_t relative = absolute >= 0 ? absolute - current : absolute + fileSize;
            for (int i = 0; i < 4; ++i)
                data[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(relative) >> (8 * i));
        }
        data += 4;
        current += 5;
    }
}

}  // namespace doxel
