// The layout of /$FIftiMain as HTML Help readers take it: a 0x400-byte
// header, then for each leaf node of the word B-tree the location data of
// its words followed by the node, then the index nodes level by level, the
// root last. Nodes are 4096 bytes. A leaf starts with the offset of the
// next leaf, a zero word and its free space; each entry is the word
// front-compressed against the one before it in the node, a flag for a
// title word, the number of topics, the offset of its location data, a zero
// word and the data's size (numbers that vary in length in 7-bit groups,
// lowest first). An index node starts with its free space; each entry is
// the last word of a child node and the child's offset. The location data
// holds, per topic and padded to a whole byte, the topic's distance from
// the previous topic, the number of places and the distance of each place
// from the one before, all in the scale-2 code with the root sizes the
// header names.
#include "compiler/fulltext/fulltext_index.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "compiler/fulltext/page_text.h"
#include "compiler/fulltext/word_splitter.h"
#include "compiler/little_endian.h"
#include "core/text_encoding.h"

namespace doxel::chm {

namespace {

constexpr std::size_t kHeaderSize = 0x400;
constexpr std::size_t kNodeSize = 4096;
constexpr std::size_t kLeafHeaderSize = 8;
constexpr std::size_t kIndexHeaderSize = 2;
// Readers keep a word in a buffer of about a hundred bytes; longer words
// are cut, so that a search for their beginning still finds them.
constexpr std::size_t kMaxWordBytes = 99;

// Root sizes of the scale-2 codes: topic distances, place counts, place
// distances. Small roots suit the small numbers most topics give.
constexpr int kTopicRoot = 1;
constexpr int kCountRoot = 1;
constexpr int kPlaceRoot = 4;

// Pages are read in batches, each batch on all cores, so that memory holds
// the words of one batch and not of the whole help file. Then each core
// adds the words of its share (by hash) of the vocabulary to the index.
constexpr std::size_t kBatchPages = 256;
constexpr std::size_t kBatchBytes = 32u << 20;
// Words converted once per reader thread; forgotten when it grows past this.
constexpr std::size_t kMaxCachedWords = 1u << 19;

// A page's words as tokens: a kind, the hash of the bytes (8 bytes), their
// length (2 bytes), the bytes.
constexpr char kWordToken = 'w';       // the word in the code page
constexpr char kCutToken = 'c';        // the same, for a word that had to be cut
constexpr char kLackingToken = 'x';    // UTF-8 of a word the code page cannot hold
constexpr char kSamePlaceToken = 'p';  // no bytes: the next word shares the place of the one after it

struct PageWords {
    std::string body;
    std::string title;
};

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Reads pages into tokens; one per thread.
class PageReader {
public:
    PageReader(const CodePage& codePage, std::uint32_t languageId)
        : m_splitter(languageId, kMaxWordBytes + 1), m_encoder(codePage)
    {
    }

    void read(const FullTextPage& page, PageWords& words)
    {
        tokens(visiblePageText(page.html), words.body);
        tokens(page.title, words.title);
    }

private:
    void tokens(std::string_view text, std::string& out)
    {
        m_splitter.split(
            text, [&](std::string_view word) { out += wordToken(word); },
            [&](std::string_view compound) {
                // A compound the code page cannot hold is noted through its
                // parts already.
                const std::string& token = wordToken(compound);
                if (token.front() == kLackingToken)
                    return;
                appendToken(out, kSamePlaceToken, {});
                out += token;
            });
    }

    const std::string& wordToken(std::string_view word)
    {
        // Every code page holds ASCII as it is.
        if (std::all_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            m_asciiToken.clear();
            appendToken(m_asciiToken, word.size() > kMaxWordBytes ? kCutToken : kWordToken,
                        word.substr(0, kMaxWordBytes));
            return m_asciiToken;
        }
        auto found = m_cache.find(word);
        if (found == m_cache.end()) {
            if (m_cache.size() >= kMaxCachedWords)
                m_cache.clear();
            found = m_cache.emplace(std::string(word), convert(word)).first;
        }
        return found->second;
    }

    static void appendToken(std::string& out, char kind, std::string_view bytes)
    {
        const std::uint64_t hash = StringHash{}(bytes);
        out += kind;
        for (int i = 0; i < 8; ++i)
            out += static_cast<char>((hash >> (8 * i)) & 0xFF);
        out += static_cast<char>(bytes.size() & 0xFF);
        out += static_cast<char>((bytes.size() >> 8) & 0xFF);
        out += bytes;
    }

    static std::string token(char kind, std::string_view bytes)
    {
        std::string result;
        appendToken(result, kind, bytes);
        return result;
    }

    std::string convert(std::string_view word)
    {
        bool lacking = false;
        std::string bytes = m_encoder.encode(word, &lacking);
        if (lacking)
            return token(kLackingToken, word);
        if (bytes.size() <= kMaxWordBytes)
            return token(kWordToken, bytes);
        // Cut at a character, so that no half of a double-byte character
        // ends the word.
        std::string_view shorter = word;
        while (bytes.size() > kMaxWordBytes && !shorter.empty()) {
            std::size_t last = shorter.size() - 1;
            while (last > 0 && (static_cast<unsigned char>(shorter[last]) & 0xC0) == 0x80)
                --last;
            shorter = shorter.substr(0, last);
            bytes = m_encoder.encode(shorter);
        }
        return token(kCutToken, bytes);
    }

    WordSplitter m_splitter;
    std::string m_asciiToken;
    CodePageEncoder m_encoder;
    std::unordered_map<std::string, std::string, StringHash, std::equal_to<>> m_cache;
};

// Bits from the most significant end of each byte.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : m_out(out) {}

    void scaleRoot(std::uint64_t value, int root)
    {
        const int width = std::bit_width(value);
        if (width <= root) {
            bits(0, 1);
            bits(value, root);
        } else {
            bits((std::uint64_t{1} << (width - root)) - 1, width - root);
            bits(0, 1);
            bits(value, width - 1);
        }
    }

    void padToByte()
    {
        if (m_used > 0)
            m_out += static_cast<char>(m_pending << (8 - m_used));
        m_pending = 0;
        m_used = 0;
    }

private:
    // At most 32 bits at a time.
    void bits(std::uint64_t value, int count)
    {
        if (count > 32) {
            bits(value >> 32, count - 32);
            count = 32;
        }
        m_pending = (m_pending << count) | (value & ((std::uint64_t{1} << count) - 1));
        m_used += count;
        while (m_used >= 8) {
            m_used -= 8;
            m_out += static_cast<char>((m_pending >> m_used) & 0xFF);
        }
        m_pending &= (std::uint64_t{1} << m_used) - 1;
    }

    std::string& m_out;
    std::uint64_t m_pending = 0;
    int m_used = 0;
};

struct WordRecord {
    std::string word;
    std::uint64_t hash = 0;
    std::string locations;  // the word's location data so far
    std::uint32_t topics = 0;
    std::uint32_t lastTopic = 0;
    std::vector<std::uint32_t> places;  // in the topic being read
};

// The words of either the bodies or the titles with where they stand, in
// an open-addressing table: this lookup is the index's innermost loop.
class Postings {
public:
    void add(std::string_view word, std::uint64_t hash, std::uint32_t place)
    {
        const std::uint32_t index = find(word, hash);
        WordRecord& record = m_records[index];
        if (record.places.empty())
            m_touched.push_back(index);
        record.places.push_back(place);
    }

    void endTopic(std::uint32_t topic)
    {
        for (const std::uint32_t index : m_touched) {
            WordRecord& record = m_records[index];
            BitWriter bits(record.locations);
            bits.scaleRoot(topic - record.lastTopic, kTopicRoot);
            bits.scaleRoot(record.places.size(), kCountRoot);
            std::uint32_t last = 0;
            for (const std::uint32_t place : record.places) {
                bits.scaleRoot(place - last, kPlaceRoot);
                last = place;
            }
            bits.padToByte();
            record.lastTopic = topic;
            ++record.topics;
            record.places.clear();
        }
        m_touched.clear();
    }

    const std::vector<WordRecord>& words() const { return m_records; }

private:
    std::uint32_t find(std::string_view word, std::uint64_t hash)
    {
        if ((m_records.size() + 1) * 2 > m_slots.size())
            grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t index = m_slots[slot];
            if (index == 0) {
                m_slots[slot] = static_cast<std::uint32_t>(m_records.size() + 1);
                m_records.push_back(WordRecord{std::string(word), hash, {}, 0, 0, {}});
                return static_cast<std::uint32_t>(m_records.size() - 1);
            }
            const WordRecord& record = m_records[index - 1];
            if (record.hash == hash && record.word == word)
                return index - 1;
        }
    }

    void grow()
    {
        m_slots.assign(std::max<std::size_t>(m_slots.size() * 2, 1024), 0);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            std::size_t slot = m_records[i].hash & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = static_cast<std::uint32_t>(i + 1);
        }
    }

    std::vector<std::uint32_t> m_slots;  // record index + 1, 0 for none
    std::vector<WordRecord> m_records;
    std::vector<std::uint32_t> m_touched;
};

struct Statistics {
    std::uint64_t occurrences = 0;
    std::uint64_t occurrenceBytes = 0;
    std::unordered_set<std::string> cut;
    // Each word the code page lacks with where it was first seen.
    std::unordered_map<std::string, std::uint64_t, StringHash, std::equal_to<>> lacking;
};

// The words of one shard of the vocabulary with where they stand.
struct Shard {
    Postings body;
    Postings titles;
    Statistics stats;
    bool inTopic = false;
    std::uint32_t topic = 0;
    std::uint32_t bodyPlace = 0;
    std::uint32_t titlePlace = 0;
};

// Adds the tokens of one page that fall to shard `shard` of `shards` to the
// postings from place `place` on; returns the place after the page's last
// word. `seen` orders pages.
using StopWords = std::unordered_set<std::string, StringHash, std::equal_to<>>;

std::uint32_t addTokens(std::string_view tokens, std::size_t shard, std::size_t shards, std::uint32_t place,
                        std::uint64_t seen, Postings& postings, Statistics& stats, const StopWords& stopWords)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(tokens.data());
    std::size_t pos = 0;
    bool samePlace = false;
    while (pos < tokens.size()) {
        const char kind = tokens[pos];
        if (kind == kSamePlaceToken) {
            samePlace = true;
            pos += 11;
            continue;
        }
        std::uint64_t hash = 0;
        for (int i = 7; i >= 0; --i)
            hash = (hash << 8) | bytes[pos + 1 + static_cast<std::size_t>(i)];
        const std::size_t length = bytes[pos + 9] | static_cast<std::size_t>(bytes[pos + 10]) << 8;
        const std::string_view text = tokens.substr(pos + 11, length);
        // A stop word keeps its place, so that the words around it stay
        // apart for a phrase search.
        if (hash % shards == shard && !(!stopWords.empty() && stopWords.contains(text))) {
            if (kind == kLackingToken) {
                stats.lacking.try_emplace(std::string(text), (seen << 32) | place);
            } else {
                postings.add(text, hash, place);
                ++stats.occurrences;
                stats.occurrenceBytes += text.size();
                if (kind == kCutToken)
                    stats.cut.emplace(text);
            }
        }
        if (!samePlace && place < std::numeric_limits<std::uint32_t>::max())
            ++place;
        samePlace = false;
        pos += 11 + length;
    }
    return place;
}

// Readers walk the tree comparing with ASCII letters folded (strcasecmp);
// the trail byte of a double-byte character may be such a letter.
bool readerLess(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto fold = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + 32) : u;
        };
        if (fold(a[i]) != fold(b[i]))
            return fold(a[i]) < fold(b[i]);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

struct IndexEntry {
    std::string_view word;
    bool title;
    const WordRecord* record;
};

void appendVarint(std::string& out, std::uint64_t value)
{
    do {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (value != 0)
            byte |= 0x80;
        out += static_cast<char>(byte);
    } while (value != 0);
}

std::size_t varintSize(std::uint64_t value)
{
    return value == 0 ? 1 : (static_cast<std::size_t>(std::bit_width(value)) + 6) / 7;
}

std::size_t commonPrefix(std::string_view a, std::string_view b)
{
    const std::size_t limit = std::min({a.size(), b.size(), std::size_t{255}});
    std::size_t n = 0;
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

void checkOffset(const std::string& out)
{
    if (out.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The search index would exceed 4 GB.");
}

struct Tree {
    std::uint32_t root = 0;
    std::uint32_t depth = 0;
    std::uint32_t leaves = 0;
    std::uint32_t lastLeafFree = 0;
};

// Writes the location data and the leaf and index nodes after the header.
Tree writeTree(const std::vector<IndexEntry>& entries, std::string& out)
{
    Tree tree;
    std::vector<std::pair<std::string, std::uint32_t>> level;  // last word, node offset
    std::string node;
    std::string previous;
    std::size_t lastLeaf = 0;

    auto flushLeaf = [&] {
        const auto free = static_cast<std::uint32_t>(kNodeSize - node.size());
        node.resize(kNodeSize, '\0');
        put16At(node, 6, free);
        const std::size_t offset = out.size();
        if (lastLeaf != 0)
            put32At(out, lastLeaf, offset);
        out += node;
        checkOffset(out);
        level.emplace_back(previous, static_cast<std::uint32_t>(offset));
        lastLeaf = offset;
        tree.lastLeafFree = free;
        ++tree.leaves;
        node.clear();
    };

    for (const IndexEntry& entry : entries) {
        if (node.empty()) {
            node.assign(kLeafHeaderSize, '\0');
            previous.clear();
        }
        const std::string& locations = entry.record->locations;
        std::size_t prefix = commonPrefix(previous, entry.word);
        const std::size_t fixed = 2 + 1 + varintSize(entry.record->topics) + 4 + 2 + varintSize(locations.size());
        if (node.size() + fixed + entry.word.size() - prefix > kNodeSize) {
            flushLeaf();
            node.assign(kLeafHeaderSize, '\0');
            previous.clear();
            prefix = 0;
        }
        const std::size_t locationOffset = out.size();
        out += locations;
        checkOffset(out);
        node += static_cast<char>(entry.word.size() - prefix + 1);
        node += static_cast<char>(prefix);
        node.append(entry.word.substr(prefix));
        node += static_cast<char>(entry.title ? 1 : 0);
        appendVarint(node, entry.record->topics);
        put32(node, locationOffset);
        put16(node, 0);
        appendVarint(node, locations.size());
        previous = entry.word;
    }
    if (!node.empty() || level.empty()) {
        if (node.empty())
            node.assign(kLeafHeaderSize, '\0');
        flushLeaf();
    }

    tree.depth = 1;
    while (level.size() > 1) {
        std::vector<std::pair<std::string, std::uint32_t>> parents;
        auto flushIndex = [&] {
            const auto free = static_cast<std::uint32_t>(kNodeSize - node.size());
            node.resize(kNodeSize, '\0');
            put16At(node, 0, free);
            parents.emplace_back(previous, static_cast<std::uint32_t>(out.size()));
            out += node;
            checkOffset(out);
            node.clear();
        };
        for (const auto& [word, offset] : level) {
            if (node.empty()) {
                node.assign(kIndexHeaderSize, '\0');
                previous.clear();
            }
            std::size_t prefix = commonPrefix(previous, word);
            if (node.size() + 2 + word.size() - prefix + 4 + 2 > kNodeSize) {
                flushIndex();
                node.assign(kIndexHeaderSize, '\0');
                previous.clear();
                prefix = 0;
            }
            node += static_cast<char>(word.size() - prefix + 1);
            node += static_cast<char>(prefix);
            node.append(word, prefix);
            put32(node, offset);
            put16(node, 0);
            previous = word;
        }
        flushIndex();
        level = std::move(parents);
        ++tree.depth;
    }
    tree.root = level.front().second;
    return tree;
}

std::uint32_t clamp32(std::uint64_t value)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

void writeHeader(std::string& out, const Tree& tree, std::uint32_t topics, const Statistics& stats,
                 std::uint64_t distinctWords, std::uint64_t distinctBytes, std::uint64_t longestWord,
                 const FullTextOptions& options)
{
    out[2] = 0x28;  // 00 00 28 00
    put32At(out, 0x04, topics);
    put32At(out, 0x08, tree.root);
    put32At(out, 0x0C, 0);
    put32At(out, 0x10, tree.leaves);
    put32At(out, 0x14, tree.root);
    put16At(out, 0x18, tree.depth);
    put32At(out, 0x1A, 7);
    const unsigned char codes[6] = {2, kTopicRoot, 2, kCountRoot, 2, kPlaceRoot};
    std::memcpy(out.data() + 0x1E, codes, sizeof codes);
    put32At(out, 0x2E, kNodeSize);
    put32At(out, 0x32, 0);
    put32At(out, 0x36, 1);
    put32At(out, 0x3A, 5);
    put32At(out, 0x3E, clamp32(longestWord));
    put32At(out, 0x42, clamp32(stats.occurrences));
    put32At(out, 0x46, clamp32(distinctWords));
    put32At(out, 0x4A, clamp32(stats.occurrenceBytes));
    put32At(out, 0x4E, 0);
    put32At(out, 0x52, clamp32(distinctBytes));
    put32At(out, 0x56, tree.lastLeafFree);
    put32At(out, 0x5A, 0);
    put32At(out, 0x5E, topics == 0 ? 0 : topics - 1);
    put32At(out, 0x7A, static_cast<std::uint32_t>(options.codePage));
    put32At(out, 0x7E, options.languageId);
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Pages in the order of their topics, pages of one topic in the order given.
std::vector<std::size_t> topicOrder(const std::vector<FullTextPage>& pages)
{
    std::vector<std::size_t> order(pages.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pages[a].topicIndex < pages[b].topicIndex; });
    return order;
}

// Runs `work(t)` for t = 0..threads-1, each on a thread of its own but the
// last, which runs on the calling thread; rethrows the first failure.
void onThreads(std::size_t threads, const std::function<void(std::size_t)>& work)
{
    std::vector<std::exception_ptr> failures(threads);
    std::vector<std::thread> workers;
    workers.reserve(threads);
    auto guarded = [&](std::size_t t) {
        try {
            work(t);
        } catch (...) {
            failures[t] = std::current_exception();
        }
    };
    for (std::size_t t = 0; t + 1 < threads; ++t)
        workers.emplace_back(guarded, t);
    guarded(threads - 1);
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace

FullTextResult buildFullTextIndex(const std::vector<FullTextPage>& pages, const FullTextOptions& options)
{
    CodePage fallback{options.codePage, nullptr, static_cast<int>(options.languageId), ""};
    const std::string fallbackName = "CP" + std::to_string(options.codePage);
    fallback.iconvName = fallbackName.c_str();
    const CodePage* known = codePageByNumber(options.codePage);
    const CodePage& codePage = known != nullptr ? *known : fallback;

    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::unique_ptr<PageReader>> readers;
    for (std::size_t t = 0; t < threads; ++t)
        readers.push_back(std::make_unique<PageReader>(codePage, options.languageId));
    std::vector<Shard> shards(threads);

    // The stop list's words as the pages' words come out of the reader.
    StopWords stopWords;
    if (!options.stopWords.empty()) {
        PageWords listed;
        std::string text = "<p>";
        for (const char c : options.stopWords)
            text += c == '<' ? std::string("&lt;") : c == '&' ? std::string("&amp;") : std::string(1, c);
        readers.front()->read({0, {}, text}, listed);
        const auto* bytes = reinterpret_cast<const unsigned char*>(listed.body.data());
        for (std::size_t pos = 0; pos + 11 <= listed.body.size();) {
            const std::size_t length = bytes[pos + 9] | static_cast<std::size_t>(bytes[pos + 10]) << 8;
            stopWords.emplace(listed.body.substr(pos + 11, length));
            pos += 11 + length;
        }
    }

    const std::vector<std::size_t> order = topicOrder(pages);
    std::uint32_t topics = 0;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (i == 0 || pages[order[i]].topicIndex != pages[order[i - 1]].topicIndex)
            ++topics;

    std::vector<PageWords> words;
    for (std::size_t start = 0; start < order.size();) {
        std::size_t end = start;
        std::size_t bytes = 0;
        while (end < order.size() && end - start < kBatchPages && (end == start || bytes < kBatchBytes))
            bytes += pages[order[end++]].html.size();
        words.assign(end - start, PageWords{});

        std::atomic<std::size_t> next{start};
        onThreads(threads, [&](std::size_t t) {
            for (std::size_t i = next++; i < end; i = next++)
                readers[t]->read(pages[order[i]], words[i - start]);
        });
        onThreads(threads, [&](std::size_t t) {
            Shard& shard = shards[t];
            for (std::size_t i = start; i < end; ++i) {
                const std::uint32_t pageTopic = pages[order[i]].topicIndex;
                if (!shard.inTopic || pageTopic != shard.topic) {
                    if (shard.inTopic) {
                        shard.body.endTopic(shard.topic);
                        shard.titles.endTopic(shard.topic);
                    }
                    shard.topic = pageTopic;
                    shard.inTopic = true;
                    shard.bodyPlace = 0;
                    shard.titlePlace = 0;
                }
                const PageWords& page = words[i - start];
                shard.bodyPlace =
                    addTokens(page.body, t, threads, shard.bodyPlace, i, shard.body, shard.stats, stopWords);
                shard.titlePlace =
                    addTokens(page.title, t, threads, shard.titlePlace, i, shard.titles, shard.stats, stopWords);
            }
        });
        start = end;
    }
    readers.clear();
    words.clear();

    Statistics stats;
    std::vector<std::pair<std::uint64_t, std::string_view>> lacking;
    std::size_t cut = 0;
    std::size_t entryCount = 0;
    for (Shard& shard : shards) {
        if (shard.inTopic) {
            shard.body.endTopic(shard.topic);
            shard.titles.endTopic(shard.topic);
        }
        stats.occurrences += shard.stats.occurrences;
        stats.occurrenceBytes += shard.stats.occurrenceBytes;
        cut += shard.stats.cut.size();
        for (const auto& [word, seen] : shard.stats.lacking)
            lacking.emplace_back(seen, word);
        entryCount += shard.body.words().size() + shard.titles.words().size();
    }
    std::sort(lacking.begin(), lacking.end());

    std::vector<IndexEntry> entries;
    entries.reserve(entryCount);
    for (const Shard& shard : shards) {
        for (const WordRecord& record : shard.body.words())
            entries.push_back({record.word, false, &record});
        for (const WordRecord& record : shard.titles.words())
            entries.push_back({record.word, true, &record});
    }
    // A word's body entry comes before its title entry: a reader that takes
    // the first entry of a word for a search of the whole text finds the
    // pages whose text holds it, which include those whose title element
    // holds it. Words are lower-case, so only the trail bytes of
    // double-byte characters can need the readers' folding.
    const bool folds = std::any_of(entries.begin(), entries.end(), [](const IndexEntry& e) {
        return std::any_of(e.word.begin(), e.word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    });
    std::sort(entries.begin(), entries.end(), [folds](const IndexEntry& a, const IndexEntry& b) {
        if (a.word != b.word)
            return folds ? readerLess(a.word, b.word) : a.word < b.word;
        return a.title < b.title;
    });

    std::uint64_t distinctWords = 0;
    std::uint64_t distinctBytes = 0;
    std::uint64_t longestWord = 0;
    // Counted per entry, a word's title and body entries apart, as other
    // compilers count them.
    for (const IndexEntry& entry : entries) {
        ++distinctWords;
        distinctBytes += entry.word.size();
        longestWord = std::max<std::uint64_t>(longestWord, entry.word.size());
    }

    FullTextResult result;
    result.data.assign(kHeaderSize, '\0');
    const Tree tree = writeTree(entries, result.data);
    writeHeader(result.data, tree, topics, stats, distinctWords, distinctBytes, longestWord, options);

    for (const auto& [seen, word] : lacking)
        result.lackingWords.emplace_back(word);
    if (!lacking.empty()) {
        std::string note = "The search index leaves out " + std::to_string(lacking.size()) +
                           (lacking.size() == 1 ? " word" : " words") + " that code page " +
                           std::to_string(options.codePage) + " cannot hold: ";
        const std::size_t shown = std::min<std::size_t>(lacking.size(), 3);
        for (std::size_t i = 0; i < shown; ++i)
            note += (i == 0 ? "" : ", ") + quoted(lacking[i].second);
        if (lacking.size() > shown)
            note += " and " + std::to_string(lacking.size() - shown) + " more";
        note += '.';
        result.notes.push_back(std::move(note));
    }
    if (cut > 0)
        result.notes.push_back("The search index holds " + std::to_string(cut) + (cut == 1 ? " word" : " words") +
                               " longer than " + std::to_string(kMaxWordBytes) + " bytes by their first " +
                               std::to_string(kMaxWordBytes) + " bytes.");
    return result;
}

}  // namespace doxel::chm
