#include "compiler/lzx_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>
#include <stdexcept>

namespace doxel::chm {
namespace {

constexpr int kMinMatch = 2;
constexpr int kMaxMatch = 257;
constexpr int kLiterals = 256;
constexpr int kLengthSymbols = 249;
constexpr int kPretreeSymbols = 20;
constexpr int kMaxCodeLength = 16;
constexpr int kMaxPretreeLength = 15;  // stored in four bits

// The finder looks at three bytes at a time; shorter matches only pay off
// for a repeated offset, which is tried separately.
constexpr int kHashBits = 15;
constexpr int kChainDepth = 32;
constexpr int kGoodEnough = 96;

// Writes bits from the most significant down into 16-bit little-endian
// words, the order LZX decoders read them in.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : m_out(out) {}
    void put(std::uint32_t value, int bits)
    {
        m_buffer = (m_buffer << bits) | (value & ((std::uint64_t{1} << bits) - 1));
        m_count += bits;
        while (m_count >= 16) {
            const auto word = static_cast<std::uint16_t>(m_buffer >> (m_count - 16));
            m_out.push_back(static_cast<char>(word & 0xFF));
            m_out.push_back(static_cast<char>(word >> 8));
            m_count -= 16;
        }
        m_buffer &= (std::uint64_t{1} << m_count) - 1;
    }
    void align()
    {
        if (m_count > 0)
            put(0, 16 - m_count);
    }

private:
    std::string& m_out;
    std::uint64_t m_buffer = 0;
    int m_count = 0;
};

// Code lengths for `freq`, none longer than `limit`, forming a complete
// code: a decoder rejects a table with room left over, so a tree with one
// used symbol gets a second one. All zeros when nothing is used.
std::vector<std::uint8_t> codeLengths(std::vector<std::uint32_t> freq, int limit)
{
    const std::size_t n = freq.size();
    std::vector<std::uint8_t> lengths(n, 0);
    std::size_t used = 0;
    for (std::uint32_t f : freq)
        used += f != 0 ? 1 : 0;
    if (used == 0)
        return lengths;
    if (used == 1) {
        for (std::size_t i = 0; i < n; ++i) {
            if (freq[i] == 0) {
                freq[i] = 1;
                break;
            }
        }
    }
    for (;;) {
        // Nodes 0..n-1 are symbols, the rest inner nodes.
        std::vector<std::uint32_t> parent(2 * n, 0);
        using Item = std::pair<std::uint64_t, std::uint32_t>;
        std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
        for (std::size_t i = 0; i < n; ++i) {
            if (freq[i] != 0)
                queue.emplace(freq[i], static_cast<std::uint32_t>(i));
        }
        auto next = static_cast<std::uint32_t>(n);
        while (queue.size() > 1) {
            const Item a = queue.top();
            queue.pop();
            const Item b = queue.top();
            queue.pop();
            parent[a.second] = next;
            parent[b.second] = next;
            queue.emplace(a.first + b.first, next);
            ++next;
        }
        if (queue.empty())
            return lengths;  // never: at least two symbols are used
        const std::uint32_t root = queue.top().second;
        std::vector<std::uint8_t> depth(2 * n, 0);
        for (std::uint32_t node = next; node-- > n;) {
            if (node != root)
                depth[node] = static_cast<std::uint8_t>(depth[parent[node]] + 1);
        }
        int longest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            lengths[i] = freq[i] != 0 ? static_cast<std::uint8_t>(depth[parent[i]] + 1) : 0;
            longest = std::max<int>(longest, lengths[i]);
        }
        if (longest <= limit)
            return lengths;
        // Flatter frequencies give a shallower tree; rare in practice.
        for (std::uint32_t& f : freq) {
            if (f != 0)
                f = f / 2 + 1;
        }
    }
}

// Canonical codes: shorter codes first, equal lengths in symbol order.
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths)
{
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    std::uint32_t code = 0;
    for (int bits = 1; bits <= kMaxCodeLength; ++bits) {
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            if (lengths[i] == bits)
                codes[i] = static_cast<std::uint16_t>(code++);
        }
        code <<= 1;
    }
    return codes;
}

struct Huffman {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint16_t> codes;
    void build(const std::vector<std::uint32_t>& freq, int limit)
    {
        lengths = codeLengths(freq, limit);
        codes = canonicalCodes(lengths);
    }
    void put(BitWriter& out, std::size_t symbol) const { out.put(codes[symbol], lengths[symbol]); }
};

// Writes lengths[first, last) as changes from the previous block's lengths,
// through a pretree of its own.
void writeLengths(BitWriter& out, const std::vector<std::uint8_t>& lengths, std::vector<std::uint8_t>& previous,
                  std::size_t first, std::size_t last)
{
    struct Step {
        std::uint8_t symbol;
        std::uint8_t extra;
    };
    std::vector<Step> steps;
    std::vector<std::uint32_t> freq(kPretreeSymbols, 0);
    for (std::size_t i = first; i < last;) {
        if (lengths[i] == 0) {
            std::size_t run = 1;
            while (i + run < last && lengths[i + run] == 0 && run < 51)
                ++run;
            if (run >= 20) {
                steps.push_back({18, static_cast<std::uint8_t>(run - 20)});
                i += run;
                ++freq[18];
                continue;
            }
            if (run >= 4) {
                steps.push_back({17, static_cast<std::uint8_t>(run - 4)});
                i += run;
                ++freq[17];
                continue;
            }
        }
        const auto symbol = static_cast<std::uint8_t>((previous[i] + 17 - lengths[i]) % 17);
        steps.push_back({symbol, 0});
        ++freq[symbol];
        ++i;
    }
    Huffman pretree;
    pretree.build(freq, kMaxPretreeLength);
    for (int i = 0; i < kPretreeSymbols; ++i)
        out.put(pretree.lengths[static_cast<std::size_t>(i)], 4);
    for (const Step& step : steps) {
        pretree.put(out, step.symbol);
        if (step.symbol == 17)
            out.put(step.extra, 4);
        else if (step.symbol == 18)
            out.put(step.extra, 5);
    }
    std::copy(lengths.begin() + static_cast<std::ptrdiff_t>(first), lengths.begin() + static_cast<std::ptrdiff_t>(last),
              previous.begin() + static_cast<std::ptrdiff_t>(first));
}

// One coded item of a frame: a literal, or a match with its position
// slot's extra bits.
struct Item {
    std::uint16_t main;   // main tree symbol
    std::int16_t length;  // length tree symbol, -1 for none
    std::uint8_t extraBits;
    std::uint32_t extra;
};

int positionSlot(std::uint32_t formatted)
{
    if (formatted < 4)
        return static_cast<int>(formatted);
    int high = 31 - __builtin_clz(formatted);
    return 2 * high + static_cast<int>((formatted >> (high - 1)) & 1);
}

std::uint32_t slotBase(int slot)
{
    if (slot < 4)
        return static_cast<std::uint32_t>(slot);
    return (2u + static_cast<std::uint32_t>(slot & 1)) << (slot / 2 - 1);
}

int slotExtraBits(int slot)
{
    return slot < 4 ? 0 : std::min(slot / 2 - 1, 17);
}

class IntervalCoder {
public:
    IntervalCoder(std::string_view data, int windowBits)
        : m_data(data),
          m_maxDistance((std::size_t{1} << windowBits) - 3),
          m_slots(lzxPositionSlots(windowBits)),
          m_head(std::size_t{1} << kHashBits, -1),
          m_chain(data.size(), -1),
          m_previousMain(static_cast<std::size_t>(kLiterals + 8 * m_slots), 0),
          m_previousLength(kLengthSymbols, 0)
    {
    }

    LzxInterval run()
    {
        LzxInterval result;
        BitWriter out(result.bytes);
        out.put(0, 1);  // no call translation
        for (std::size_t start = 0; start < m_data.size(); start += kLzxFrameSize) {
            const std::size_t end = std::min(m_data.size(), start + kLzxFrameSize);
            result.frames.push_back(result.bytes.size());
            codeFrame(out, start, end);
            out.align();
        }
        if (m_data.empty())
            out.align();
        return result;
    }

private:
    std::uint32_t hashAt(std::size_t pos) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(m_data.data()) + pos;
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    void insert(std::size_t pos)
    {
        if (pos + 3 > m_data.size())
            return;
        const std::uint32_t h = hashAt(pos);
        m_chain[pos] = m_head[h];
        m_head[h] = static_cast<std::int32_t>(pos);
    }

    std::size_t matchLength(std::size_t pos, std::size_t from, std::size_t limit) const
    {
        std::size_t n = 0;
        const char* a = m_data.data() + pos;
        const char* b = m_data.data() + from;
        while (n + 8 <= limit) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y)
                return n + static_cast<std::size_t>(__builtin_ctzll(x ^ y) / 8);
            n += 8;
        }
        while (n < limit && a[n] == b[n])
            ++n;
        return n;
    }

    struct Match {
        std::size_t length = 0;
        std::size_t distance = 0;
        int repeat = -1;  // 0..2 when the distance is a repeated offset
    };

    // The best match at `pos` that ends by `end`, preferring the repeated
    // offsets, which cost only their slot.
    Match find(std::size_t pos, std::size_t end) const
    {
        Match best;
        const std::size_t limit = std::min<std::size_t>(kMaxMatch, end - pos);
        if (limit < static_cast<std::size_t>(kMinMatch))
            return best;
        for (int r = 0; r < 3; ++r) {
            const std::size_t distance = m_repeat[r];
            if (distance > pos)
                continue;
            const std::size_t length = matchLength(pos, pos - distance, limit);
            if (length > best.length && length >= static_cast<std::size_t>(kMinMatch)) {
                best = {length, distance, r};
            }
        }
        if (limit < 3 || best.length >= limit)
            return best;
        std::int32_t candidate = m_head[hashAt(pos)];
        for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
            const auto from = static_cast<std::size_t>(candidate);
            const std::size_t distance = pos - from;
            if (distance > m_maxDistance)
                break;
            if (m_data[from + best.length] == m_data[pos + best.length]) {
                const std::size_t length = matchLength(pos, from, limit);
                // A new offset costs its extra bits: it must beat a repeat
                // by more than a byte.
                const std::size_t needed = best.repeat >= 0 ? best.length + 2 : best.length + 1;
                if (length >= needed && length >= 3) {
                    best = {length, distance, -1};
                    if (length >= limit || length >= kGoodEnough)
                        break;
                }
            }
            candidate = m_chain[from];
        }
        return best;
    }

    void addMatch(std::vector<Item>& items, const Match& match)
    {
        int slot;
        std::uint32_t extra = 0;
        if (match.repeat >= 0) {
            slot = match.repeat;
            std::swap(m_repeat[0], m_repeat[static_cast<std::size_t>(match.repeat)]);
        } else {
            const auto formatted = static_cast<std::uint32_t>(match.distance + 2);
            slot = positionSlot(formatted);
            extra = formatted - slotBase(slot);
            m_repeat[2] = m_repeat[1];
            m_repeat[1] = m_repeat[0];
            m_repeat[0] = match.distance;
        }
        const auto header = static_cast<int>(std::min<std::size_t>(match.length - kMinMatch, 7));
        Item item{};
        item.main = static_cast<std::uint16_t>(kLiterals + slot * 8 + header);
        item.length = header == 7 ? static_cast<std::int16_t>(match.length - kMinMatch - 7) : std::int16_t{-1};
        item.extraBits = static_cast<std::uint8_t>(slotExtraBits(slot));
        item.extra = extra;
        items.push_back(item);
    }

    void codeFrame(BitWriter& out, std::size_t start, std::size_t end)
    {
        std::vector<Item> items;
        items.reserve(end - start);
        const auto literal = [&](std::size_t at) {
            items.push_back({static_cast<std::uint16_t>(static_cast<unsigned char>(m_data[at])), -1, 0, 0});
        };
        std::size_t pos = start;
        while (pos < end) {
            // The chains hold the positions before `pos` only.
            Match match = find(pos, end);
            insertUpTo(pos);
            if (match.length >= static_cast<std::size_t>(kMinMatch) && match.length < kGoodEnough && pos + 1 < end) {
                // One step of lazy matching: a longer match one byte on wins.
                const Match later = find(pos + 1, end);
                if (later.length > match.length + (later.repeat >= 0 ? 0 : 1)) {
                    literal(pos);
                    ++pos;
                    insertUpTo(pos);
                    match = later;
                }
            }
            if (match.length >= static_cast<std::size_t>(kMinMatch)) {
                addMatch(items, match);
                insertUpTo(pos + match.length - 1);
                pos += match.length;
            } else {
                literal(pos);
                ++pos;
            }
        }
        writeBlock(out, items, end - start);
    }

    // Puts every position up to `pos` in the chains, each once and in order.
    void insertUpTo(std::size_t pos)
    {
        for (; m_inserted <= pos; ++m_inserted)
            insert(m_inserted);
    }

    void writeBlock(BitWriter& out, const std::vector<Item>& items, std::size_t size)
    {
        const std::size_t mainSymbols = m_previousMain.size();
        std::vector<std::uint32_t> mainFreq(mainSymbols, 0);
        std::vector<std::uint32_t> lengthFreq(kLengthSymbols, 0);
        for (const Item& item : items) {
            ++mainFreq[item.main];
            if (item.length >= 0)
                ++lengthFreq[static_cast<std::size_t>(item.length)];
        }
        Huffman mainTree;
        mainTree.build(mainFreq, kMaxCodeLength);
        Huffman lengthTree;
        lengthTree.build(lengthFreq, kMaxCodeLength);

        out.put(1, 3);  // verbatim block
        out.put(static_cast<std::uint32_t>(size >> 8), 16);
        out.put(static_cast<std::uint32_t>(size & 0xFF), 8);
        writeLengths(out, mainTree.lengths, m_previousMain, 0, kLiterals);
        writeLengths(out, mainTree.lengths, m_previousMain, kLiterals, mainSymbols);
        writeLengths(out, lengthTree.lengths, m_previousLength, 0, kLengthSymbols);
        for (const Item& item : items) {
            mainTree.put(out, item.main);
            if (item.length >= 0)
                lengthTree.put(out, static_cast<std::size_t>(item.length));
            if (item.extraBits > 0)
                out.put(item.extra, item.extraBits);
        }
    }

    std::string_view m_data;
    std::size_t m_maxDistance;
    int m_slots;
    std::vector<std::int32_t> m_head;
    std::vector<std::int32_t> m_chain;
    std::size_t m_inserted = 0;
    std::array<std::size_t, 3> m_repeat{1, 1, 1};
    std::vector<std::uint8_t> m_previousMain;
    std::vector<std::uint8_t> m_previousLength;
};

}  // namespace

LzxInterval compressLzxInterval(std::string_view data, int windowBits)
{
    return IntervalCoder(data, windowBits).run();
}

}  // namespace doxel::chm
