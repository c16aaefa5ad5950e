#include "plain_chm.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace doxel::test {

namespace {

void append(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The directory's numbers: 7-bit groups, highest first.
void appendDirectoryNumber(std::string& out, std::uint64_t value)
{
    std::string groups;
    do {
        groups.insert(groups.begin(), static_cast<char>(value & 0x7F));
        value >>= 7;
    } while (value != 0);
    for (std::size_t i = 0; i + 1 < groups.size(); ++i)
        groups[i] = static_cast<char>(groups[i] | 0x80);
    out += groups;
}

constexpr std::size_t kChunkSize = 4096;

}  // namespace

std::string plainChm(const std::vector<PlainChmTopic>& topics, const std::string& fullTextIndex,
                     std::uint32_t languageId)
{
    std::string topicTable;
    std::string urlTable;
    std::string urlStrings(1, '\0');
    std::string strings(1, '\0');
    for (std::size_t i = 0; i < topics.size(); ++i) {
        append(topicTable, 0, 4);
        append(topicTable, strings.size(), 4);
        append(topicTable, urlTable.size(), 4);
        append(topicTable, 6, 2);
        append(topicTable, 0, 2);
        strings += topics[i].title + '\0';
        append(urlTable, 0, 4);
        append(urlTable, i, 4);
        append(urlTable, urlStrings.size(), 4);
        append(urlStrings, 0, 8);
        urlStrings += topics[i].url + '\0';
    }

    std::vector<std::pair<std::string, const std::string*>> files = {
        {"/#STRINGS", &strings}, {"/#TOPICS", &topicTable},       {"/#URLSTR", &urlStrings},
        {"/#URLTBL", &urlTable}, {"/$FIftiMain", &fullTextIndex},
    };
    std::sort(files.begin(), files.end());

    std::string content;
    std::string chunk = "PMGL";
    append(chunk, 0, 4);  // free space, set below
    append(chunk, 0, 4);
    append(chunk, 0xFFFFFFFF, 4);
    append(chunk, 0xFFFFFFFF, 4);
    for (const auto& [name, data] : files) {
        appendDirectoryNumber(chunk, name.size());
        chunk += name;
        appendDirectoryNumber(chunk, 0);
        appendDirectoryNumber(chunk, content.size());
        appendDirectoryNumber(chunk, data->size());
        content += *data;
    }
    if (chunk.size() > kChunkSize)
        throw std::length_error("directory chunk overflows");
    const std::size_t free = kChunkSize - chunk.size();
    chunk.resize(kChunkSize, '\0');
    for (int i = 0; i < 4; ++i)
        chunk[4 + i] = static_cast<char>((free >> (8 * i)) & 0xFF);

    std::string directory = "ITSP";
    append(directory, 1, 4);
    append(directory, 0x54, 4);
    append(directory, 0x0A, 4);
    append(directory, kChunkSize, 4);
    append(directory, 2, 4);
    append(directory, 1, 4);           // depth
    append(directory, 0xFFFFFFFF, 4);  // no index chunk
    append(directory, 0, 4);           // first listing chunk
    append(directory, 0, 4);           // last listing chunk
    append(directory, 0xFFFFFFFF, 4);
    append(directory, 1, 4);  // chunks
    append(directory, languageId, 4);
    directory.append(16, '\x6A');
    append(directory, 0x54, 4);
    append(directory, 0xFFFFFFFF, 4);
    append(directory, 0xFFFFFFFF, 4);
    append(directory, 0xFFFFFFFF, 4);
    directory += chunk;

    const std::size_t headerSize = 0x60;
    const std::size_t sectionSize = 0x18;
    const std::size_t directoryOffset = headerSize + sectionSize;
    const std::size_t contentOffset = directoryOffset + directory.size();
    const std::size_t fileSize = contentOffset + content.size();

    std::string file = "ITSF";
    append(file, 3, 4);
    append(file, headerSize, 4);
    append(file, 1, 4);
    append(file, 0, 4);
    append(file, languageId, 4);
    file.append(32, '\x10');
    append(file, headerSize, 8);
    append(file, sectionSize, 8);
    append(file, directoryOffset, 8);
    append(file, directory.size(), 8);
    append(file, contentOffset, 8);
    append(file, 0x01FE, 4);
    append(file, 0, 4);
    append(file, fileSize, 8);
    append(file, 0, 8);
    file += directory;
    file += content;
    return file;
}

}  // namespace doxel::test
