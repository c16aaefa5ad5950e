#include "generated_project.h"

#include <malloc.h>
#include <random>

namespace doxel::bench {

void generateProject(Project& project, const std::string& folder, int entries, int keywords)
{
    project.resetToNew("Generated manual of a large product");
    project.projectFile = folder + "/manual.dxp";
    std::mt19937 random(42);
    static const char* const kWords[] = {"Configuring", "the",       "network", "printer", "settings",
                                         "advanced",    "options",   "for",     "users",   "reports",
                                         "and",         "exporting", "data"};
    const auto caption = [&](int n) {
        std::string text;
        while (text.size() < 26)
            text += std::string(kWords[random() % 13]) + " ";
        return text + std::to_string(n);
    };

    std::vector<ContentsEntry*> lastAtLevel = {&project.titleEntry()};
    std::vector<std::string> topics;
    for (int i = 0; i < entries; ++i) {
        const int maxLevel = static_cast<int>(std::min<std::size_t>(lastAtLevel.size(), 8));
        const int level = 1 + static_cast<int>(random() % static_cast<unsigned>(maxLevel));
        ContentsEntry* parent = lastAtLevel[static_cast<std::size_t>(level) - 1];
        const bool header = random() % 8 == 0;
        std::string topic;
        if (!header) {
            topic = folder + "/chapter" + std::to_string(i / 1000) + "/section" + std::to_string(i / 100 % 10) +
                    "/topic" + std::to_string(i) + ".htm";
            topics.push_back(topic);
        }
        ContentsEntry* entry = parent->appendChild(std::make_unique<ContentsEntry>(caption(i), header ? 0 : 8, topic));
        lastAtLevel.resize(static_cast<std::size_t>(level));
        lastAtLevel.push_back(entry);
    }
    project.keywords.reserve(static_cast<std::size_t>(keywords));
    for (int i = 0; i < keywords; ++i)
        project.keywords.push_back({"keyword " + std::to_string(i % (keywords / 2 + 1)) + " " + kWords[i % 13],
                                    topics[random() % topics.size()]});
    project.fileList.addMany(std::move(topics));
}

ContentsEntry& addBigHeader(Project& project, int size)
{
    ContentsEntry& title = project.titleEntry();
    ContentsEntry* big = title.insertChild(title.childCount() / 2, std::make_unique<ContentsEntry>("Big", 0));
    ContentsEntry* branch = nullptr;
    for (int i = 1; i < size; ++i) {
        if (branch == nullptr || branch->childCount() == 99)
            branch = big->appendChild(std::make_unique<ContentsEntry>("branch " + std::to_string(i), 2));
        else
            branch->appendChild(std::make_unique<ContentsEntry>("leaf " + std::to_string(i), 8));
    }
    return *big;
}

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

}  // namespace doxel::bench
