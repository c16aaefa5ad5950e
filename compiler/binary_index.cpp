#include "compiler/binary_index.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): newlocale is POSIX, not in <clocale>
#include <map>
#include <memory>
#include <wctype.h>  // NOLINT(modernize-deprecated-headers): towlower_l is POSIX, not in <cwctype>

#include "compiler/little_endian.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "formats/character_references.h"

namespace doxel::chm {
namespace {

constexpr std::size_t kBlockSize = 2048;
constexpr std::size_t kListingHeader = 12;
constexpr std::size_t kIndexHeader = 8;
constexpr std::size_t kDataRecord = 13;
// A keyword must fit in one block with room to spare: longer names are
// cut, and a keyword with more topics than fit keeps the first ones.
constexpr std::size_t kNameLimit = 480;  // UTF-16 units of the full name
// Two entries fit in every index block, so that each level of the tree has
// at most half the blocks of the one below and the tree ends in one root.
// An index entry names the first topics of its keyword only.
constexpr std::size_t kIndexEntryLimit = (kBlockSize - kIndexHeader) / 2;

std::u16string utf16Of(std::string_view utf8)
{
    std::u16string text;
    for (std::size_t pos = 0; pos < utf8.size();) {
        long c = decodeUtf8(utf8, pos);
        if (c < 0)
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(c));
        }
    }
    return text;
}

std::u16string folded(std::u16string text)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    for (char16_t& c : text) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        if (utf8 != nullptr)
            c = static_cast<char16_t>(towlower_l(static_cast<wint_t>(c), utf8));
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char16_t>(c + 32);
    }
    return text;
}

struct Keyword {
    std::u16string name;
    std::vector<std::uint32_t> topics;
    // Sub-keywords by folded name: sorted, and one per name.
    std::map<std::u16string, std::unique_ptr<Keyword>> children;

    void addTopics(const std::vector<std::uint32_t>& more)
    {
        for (const std::uint32_t topic : more) {
            if (std::find(topics.begin(), topics.end(), topic) == topics.end())
                topics.push_back(topic);
        }
    }
    Keyword& child(const std::u16string& childName)
    {
        std::unique_ptr<Keyword>& slot = children[folded(childName)];
        if (!slot) {
            slot = std::make_unique<Keyword>();
            slot->name = childName;
        }
        return *slot;
    }
};

// One keyword as a block stores it, without the last two numbers, which
// differ between listing and index blocks.
std::string keywordRecord(const std::u16string& fullName, std::size_t lastNameAt, int level,
                          const std::vector<std::uint32_t>& topics)
{
    std::string record;
    for (const char16_t c : fullName)
        put16(record, c);
    put16(record, 0);
    put16(record, 0);  // not a See Also
    put16(record, static_cast<std::uint32_t>(level));
    put32(record, static_cast<std::uint32_t>(lastNameAt));
    put32(record, 0);
    put32(record, static_cast<std::uint32_t>(topics.size()));
    for (const std::uint32_t topic : topics)
        put32(record, topic);
    return record;
}

class TreeWriter {
public:
    explicit TreeWriter(KeywordLinks& links) : m_links(links) {}

    void add(const Keyword& keyword, const std::u16string& parentName, int level)
    {
        std::u16string fullName = parentName.empty() ? keyword.name : parentName + u", " + keyword.name;
        const std::size_t lastNameAt = parentName.empty() ? 0 : parentName.size() + 2;
        if (fullName.size() > kNameLimit) {
            m_links.notes.push_back("The keyword " + utf8Of(fullName.substr(0, 60)) +
                                    "... is longer than the binary index holds; it is cut");
            fullName.resize(kNameLimit);
        }
        std::vector<std::uint32_t> topics = keyword.topics;
        const std::size_t fixed = kListingHeader + 2 * (fullName.size() + 1) + 16 + 8;
        const std::size_t room = (kBlockSize - fixed) / 4;
        if (topics.size() > room) {
            m_links.notes.push_back("The keyword " + utf8Of(fullName) + " leads to " + std::to_string(topics.size()) +
                                    " topics; the binary index keeps the first " + std::to_string(room));
            topics.resize(room);
        }
        const std::size_t nameAt = std::min(lastNameAt, fullName.size());
        std::string record = keywordRecord(fullName, nameAt, level, topics);
        // Without its child's number, which the index level adds.
        const std::size_t indexFixed = 2 * (fullName.size() + 1) + 16 + 4;
        const std::size_t indexTopics = std::min(topics.size(), (kIndexEntryLimit - indexFixed) / 4);
        const std::string indexRecord = keywordRecord(
            fullName, nameAt, level,
            std::vector<std::uint32_t>(topics.begin(), topics.begin() + static_cast<std::ptrdiff_t>(indexTopics)));
        put32(record, 1);
        put32(record, static_cast<std::uint32_t>(m_links.keywordCount * kDataRecord));
        if (m_block.size() + record.size() > kBlockSize || m_blocks.empty())
            startBlock(indexRecord);
        m_block += record;
        ++m_entriesInBlock;
        ++m_links.keywordCount;
        // Data's record for the keyword: the numbers every help compiler
        // writes there.
        put32(m_links.data, 0);
        put32(m_links.data, 5);
        put32(m_links.data, 0x80);
        m_links.data.push_back('\0');
        for (const auto& [key, child] : keyword.children)
            add(*child, fullName, level + 1);
    }

    void finish(std::uint32_t codePage, std::uint32_t languageId)
    {
        if (m_blocks.empty())
            return;
        closeBlock();
        const auto listingBlocks = static_cast<std::uint32_t>(m_blocks.size());
        std::string tree;
        for (std::uint32_t i = 0; i < listingBlocks; ++i) {
            put32At(m_blocks[i], 4, i == 0 ? 0xFFFFFFFFu : i - 1);
            put32At(m_blocks[i], 8, i + 1 == listingBlocks ? 0xFFFFFFFFu : i + 1);
            tree += m_blocks[i];
        }
        // Index levels until one block holds them all: each entry names the
        // first keyword of a block below and that block's number.
        std::uint32_t depth = 1;
        std::vector<std::pair<std::string, std::uint32_t>> level;
        for (std::uint32_t i = 0; i < listingBlocks; ++i)
            level.emplace_back(m_firstRecords[i], i);
        std::uint32_t nextBlock = listingBlocks;
        while (level.size() > 1) {
            ++depth;
            std::vector<std::pair<std::string, std::uint32_t>> above;
            std::string block;
            std::uint32_t count = 0;
            const auto close = [&] {
                put16At(block, 0, static_cast<std::uint32_t>(kBlockSize - block.size()));
                put16At(block, 2, count);
                block.resize(kBlockSize, '\0');
                tree += block;
                ++nextBlock;
                block.clear();
                count = 0;
            };
            for (const auto& [first, child] : level) {
                std::string entry = first;
                put32(entry, child);
                if (!block.empty() && block.size() + entry.size() > kBlockSize)
                    close();
                if (block.empty()) {
                    above.emplace_back(first, nextBlock);
                    block.assign(kIndexHeader, '\0');
                    put32At(block, 4, child);
                }
                block += entry;
                ++count;
            }
            close();
            level = std::move(above);
        }
        std::string header;
        header += ";)";
        put16(header, 2);
        put16(header, kBlockSize);
        header += std::string("X44", 3) + std::string(13, '\0');
        put32(header, 0);
        put32(header, listingBlocks - 1);
        put32(header, level.front().second);  // the root block
        put32(header, 0xFFFFFFFFu);
        put32(header, nextBlock);
        put16(header, depth);
        put32(header, static_cast<std::uint32_t>(m_links.keywordCount));
        put32(header, codePage);
        put32(header, languageId);
        put32(header, 1);  // part of a help file, not of a collection
        put32(header, 10031);
        header.append(12, '\0');
        m_links.btree = header + tree;

        put16(m_links.map, listingBlocks);
        for (std::uint32_t i = 0; i < listingBlocks; ++i) {
            put32(m_links.map, m_keywordsBefore[i]);
            put32(m_links.map, i);
        }
    }

private:
    static std::string utf8Of(const std::u16string& text)
    {
        std::string out;
        for (const char16_t c : text) {
            if (c < 0x80) {
                out.push_back(static_cast<char>(c));
            } else if (c < 0x800) {
                out.push_back(static_cast<char>(0xC0 | (c >> 6)));
                out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            } else if (c < 0xD800 || c >= 0xE000) {
                out.push_back(static_cast<char>(0xE0 | (c >> 12)));
                out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            } else {
                out += "?";
            }
        }
        return out;
    }

    void closeBlock()
    {
        put16At(m_block, 0, static_cast<std::uint32_t>(kBlockSize - m_block.size()));
        put16At(m_block, 2, m_entriesInBlock);
        m_block.resize(kBlockSize, '\0');
        m_blocks.back() = std::move(m_block);
        m_block.clear();
    }

    void startBlock(const std::string& firstRecord)
    {
        if (!m_blocks.empty())
            closeBlock();
        m_blocks.emplace_back();
        m_firstRecords.push_back(firstRecord);
        m_keywordsBefore.push_back(static_cast<std::uint32_t>(m_links.keywordCount));
        m_block.assign(kListingHeader, '\0');
        m_entriesInBlock = 0;
    }

    KeywordLinks& m_links;
    std::vector<std::string> m_blocks;
    std::vector<std::string> m_firstRecords;
    std::vector<std::uint32_t> m_keywordsBefore;
    std::string m_block;
    std::uint32_t m_entriesInBlock = 0;
};

}  // namespace

KeywordLinks buildKeywordLinks(const std::vector<KeywordEntry>& entries, std::uint32_t codePage,
                               std::uint32_t languageId)
{
    Keyword root;
    std::vector<Keyword*> open;  // the keyword last seen on each level
    for (const KeywordEntry& entry : entries) {
        if (entry.name.empty())
            continue;
        const auto level = static_cast<std::size_t>(std::max(entry.level, 0));
        if (open.size() > level)
            open.resize(level);
        Keyword& parent = open.empty() ? root : *open.back();
        Keyword& keyword = parent.child(utf16Of(entry.name));
        keyword.addTopics(entry.topics);
        open.push_back(&keyword);
    }
    KeywordLinks links;
    TreeWriter writer(links);
    for (const auto& [key, keyword] : root.children)
        writer.add(*keyword, {}, 0);
    writer.finish(codePage, languageId);
    if (links.keywordCount > 0) {
        // What chmcmd writes there; no reader we know looks at it.
        for (const std::uint32_t value : {0u, 0u, 0u, 12u, 1u, 1u, 0u, 0u})
            put32(links.property, value);
    }
    return links;
}

namespace {

// The attributes of the tag that starts at `at` (just after "<" and its
// name), names lower-cased, values with their character references
// decoded; `at` ends after the tag's ">".
std::map<std::string, std::string> tagAttributes(std::string_view html, std::size_t& at)
{
    std::map<std::string, std::string> attributes;
    while (at < html.size()) {
        while (at < html.size() && (std::isspace(static_cast<unsigned char>(html[at])) || html[at] == '/'))
            ++at;
        if (at >= html.size())
            break;
        if (html[at] == '>') {
            ++at;
            break;
        }
        const std::size_t nameStart = at;
        while (at < html.size() && html[at] != '=' && html[at] != '>' &&
               !std::isspace(static_cast<unsigned char>(html[at])))
            ++at;
        const std::string name = asciiLower(html.substr(nameStart, at - nameStart));
        while (at < html.size() && std::isspace(static_cast<unsigned char>(html[at])))
            ++at;
        std::string value;
        if (at < html.size() && html[at] == '=') {
            ++at;
            while (at < html.size() && std::isspace(static_cast<unsigned char>(html[at])))
                ++at;
            if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
                const char quote = html[at++];
                const std::size_t end = html.find(quote, at);
                value = std::string(html.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
                at = end == std::string_view::npos ? html.size() : end + 1;
            } else {
                const std::size_t start = at;
                while (at < html.size() && html[at] != '>' && !std::isspace(static_cast<unsigned char>(html[at])))
                    ++at;
                value = std::string(html.substr(start, at - start));
            }
        }
        if (!name.empty())
            attributes.emplace(name, decodeCharacterReferences(value, {.inAttribute = true}));
    }
    return attributes;
}

// The tag name that starts at `at` (just after "<"), lower-cased; `at`
// ends after it.
std::string tagName(std::string_view html, std::size_t& at)
{
    const std::size_t start = at;
    while (at < html.size() && (std::isalnum(static_cast<unsigned char>(html[at])) || html[at] == '/'))
        ++at;
    return asciiLower(html.substr(start, at - start));
}

void splitInto(std::vector<std::string>& out, const std::string& value)
{
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string::npos)
            end = value.size();
        std::string part = value.substr(start, end - start);
        const std::size_t first = part.find_first_not_of(" \t\r\n");
        const std::size_t last = part.find_last_not_of(" \t\r\n");
        if (first != std::string::npos)
            out.push_back(part.substr(first, last - first + 1));
        start = end + 1;
    }
}

}  // namespace

PageKeywords pageKeywords(std::string_view html)
{
    PageKeywords found;
    bool inIndexObject = false;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        ++at;
        if (html.substr(at, 3) == "!--") {
            const std::size_t end = html.find("-->", at);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const std::string name = tagName(html, at);
        if (name == "object") {
            const std::map<std::string, std::string> attributes = tagAttributes(html, at);
            const auto classId = attributes.find("classid");
            inIndexObject =
                classId != attributes.end() &&
                asciiLower(classId->second).find("1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e") != std::string::npos;
        } else if (name == "/object") {
            inIndexObject = false;
        } else if (name == "param" && inIndexObject) {
            const std::map<std::string, std::string> attributes = tagAttributes(html, at);
            const auto param = attributes.find("name");
            const auto value = attributes.find("value");
            if (param == attributes.end() || value == attributes.end())
                continue;
            const std::string kind = asciiLower(param->second);
            if (kind == "keyword")
                splitInto(found.keywords, value->second);
            else if (kind == "alink name")
                splitInto(found.associativeLinks, value->second);
        }
    }
    return found;
}

}  // namespace doxel::chm
