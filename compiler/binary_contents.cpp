#include "compiler/binary_contents.h"

#include <deque>

#include "compiler/little_endian.h"

namespace doxel::chm {
namespace {

constexpr std::uint32_t kHeaderSize = 4096;
constexpr std::uint32_t kFlagHasChildren = 4;
constexpr std::uint32_t kFlagHasTopic = 8;
constexpr std::uint32_t kFirstEntryNumber = 666;  // the Windows compiler's count starts there

}  // namespace

BinaryContents buildBinaryContents(const std::vector<ContentsItem>& items)
{
    BinaryContents result;
    if (items.empty())
        return result;
    constexpr std::size_t kTop = static_cast<std::size_t>(-1);
    // The tree: an entry belongs to the last entry before it on a shallower
    // level, however many levels deeper it is written.
    std::vector<std::size_t> parent(items.size(), kTop);
    std::vector<std::vector<std::size_t>> children(items.size());
    std::vector<std::size_t> top;
    std::vector<std::size_t> open;  // the entries that later ones may belong to, shallowest first
    for (std::size_t i = 0; i < items.size(); ++i) {
        while (!open.empty() && items[open.back()].level >= items[i].level)
            open.pop_back();
        if (open.empty()) {
            top.push_back(i);
        } else {
            parent[i] = open.back();
            children[open.back()].push_back(i);
        }
        open.push_back(i);
    }

    // A level at a time: each list of entries on one level follows the
    // lists queued before it.
    std::vector<std::size_t> order;
    std::deque<const std::vector<std::size_t>*> lists{&top};
    while (!lists.empty()) {
        const std::vector<std::size_t>& list = *lists.front();
        lists.pop_front();
        for (const std::size_t i : list) {
            order.push_back(i);
            if (!children[i].empty())
                lists.push_back(&children[i]);
        }
    }
    std::vector<std::size_t> nextSibling(items.size(), kTop);
    const auto link = [&nextSibling](const std::vector<std::size_t>& list) {
        for (std::size_t s = 0; s + 1 < list.size(); ++s)
            nextSibling[list[s]] = list[s + 1];
    };
    link(top);
    for (const std::vector<std::size_t>& list : children)
        link(list);
    result.offsets.assign(items.size(), 0);
    std::uint32_t at = kHeaderSize;
    for (const std::size_t i : order) {
        result.offsets[i] = at;
        at += children[i].empty() ? 20 : 28;
    }
    const std::uint32_t recordsEnd = at;

    std::string records;
    std::string topicRows;
    std::string topicRecords;
    std::uint32_t topicCount = 0;
    for (const std::size_t i : order) {
        const ContentsItem& item = items[i];
        const std::uint32_t next = nextSibling[i] == kTop ? 0 : result.offsets[nextSibling[i]];
        std::uint32_t flags = 0;
        if (!children[i].empty())
            flags |= kFlagHasChildren;
        if (item.topic)
            flags |= kFlagHasTopic;
        put16(records, 0);
        // A heading without topic points at the topic record of the entry
        // after it.
        put16(records, topicCount & 0xFFFF);
        put32(records, flags);
        put32(records, item.topic ? *item.topic : item.caption);
        put32(records, parent[i] == kTop ? 0 : result.offsets[parent[i]]);
        put32(records, next);
        if (!children[i].empty()) {
            put32(records, result.offsets[children[i].front()]);
            put32(records, 0);
        }
        if (item.topic) {
            put32(topicRows, *item.topic);
            put32(topicRecords, result.offsets[i]);
            put32(topicRecords, kFirstEntryNumber + topicCount);
            put32(topicRecords, *item.topic);
            ++topicCount;
        }
    }

    std::string& data = result.data;
    put32(data, kHeaderSize);
    put32(data, recordsEnd + static_cast<std::uint32_t>(topicRows.size()));
    put32(data, topicCount);
    put32(data, recordsEnd);
    data.resize(kHeaderSize, '\0');
    data += records;
    data += topicRows;
    data += topicRecords;
    return result;
}

}  // namespace doxel::chm
