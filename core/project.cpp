#include "core/project.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "core/path_rules.h"
#include "core/text_encoding.h"

namespace doxel {

void WindowSettings::cutTexts()
{
    for (std::string* text : {&defaultTopic, &jump1Url, &jump1Text, &jump2Url, &jump2Text, &homePage})
        text->resize(firstCharacters(*text, kWindowTextLimit).size());
}

ContentsEntry::ContentsEntry(std::string captionText, int icon, std::string topic)
    : caption(std::move(captionText)), iconNumber(icon), topicFile(std::move(topic))
{
}

ContentsEntry::~ContentsEntry()
{
    // Destroy the subtree without recursion: a deep tree would otherwise
    // overflow the stack.
    std::vector<std::unique_ptr<ContentsEntry>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<ContentsEntry> entry = std::move(pending.back());
        pending.pop_back();
        for (auto& child : entry->m_children)
            pending.push_back(std::move(child));
        entry->m_children.clear();
    }
}

int ContentsEntry::level() const
{
    int depth = -1;
    for (const ContentsEntry* up = m_parent; up != nullptr; up = up->m_parent)
        ++depth;
    return depth;
}

std::size_t ContentsEntry::indexInParent() const
{
    if (m_parent == nullptr)
        return 0;
    const auto& siblings = m_parent->m_children;
    const auto found =
        std::find_if(siblings.begin(), siblings.end(), [this](const auto& sibling) { return sibling.get() == this; });
    return static_cast<std::size_t>(found - siblings.begin());
}

ContentsEntry* ContentsEntry::appendChild(std::unique_ptr<ContentsEntry> entry)
{
    return insertChild(m_children.size(), std::move(entry));
}

ContentsEntry* ContentsEntry::insertChild(std::size_t index, std::unique_ptr<ContentsEntry> entry)
{
    entry->m_parent = this;
    ContentsEntry* raw = entry.get();
    m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_children.size())),
                      std::move(entry));
    return raw;
}

std::unique_ptr<ContentsEntry> ContentsEntry::takeChild(std::size_t index)
{
    std::unique_ptr<ContentsEntry> entry = std::move(m_children[index]);
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(index));
    entry->m_parent = nullptr;
    return entry;
}

void ContentsEntry::swapChildren(ContentsEntry& other)
{
    m_children.swap(other.m_children);
    for (auto& child : m_children)
        child->m_parent = this;
    for (auto& child : other.m_children)
        child->m_parent = &other;
}

Project::Project(const std::string& title)
{
    resetToNew(title);
}

void Project::resetToNew(const std::string& title)
{
    m_root = std::make_unique<ContentsEntry>();
    m_root->appendChild(std::make_unique<ContentsEntry>(title, kTitleIconNumber));
    keywords.clear();
    fileList.clear();
    windowSettings = WindowSettings();
    helpIds.clear();
    helpLanguageId = 0;
    projectFile.clear();
    helpProjectFile.clear();
    contentsFile.clear();
    indexFile.clear();
    compiledFile.clear();
    modified = false;
}

std::size_t Project::entryCount() const
{
    std::size_t count = 0;
    forEachEntry(*m_root, [&count](const ContentsEntry&, int) { ++count; });
    return count;
}

std::string Project::baseName() const
{
    return projectFile.substr(0, projectFile.size() - std::min<std::size_t>(4, projectFile.size()));
}

void Project::deriveCompilerFileNames()
{
    const std::string base = baseName();
    helpProjectFile = base + ".hhp";
    contentsFile = base + ".hhc";
    compiledFile = base + ".chm";
    indexFile = base + ".hhk";
}

void Project::rebuildFileList()
{
    fileList = fileListOf(*m_root);
}

FileList fileListOf(const ContentsEntry& root)
{
    std::vector<std::string> paths;
    forEachEntry(root, [&paths](const ContentsEntry& entry, int) {
        // The file list names files; an entry's anchor stays with the entry.
        if (!entry.topicFile.empty())
            paths.push_back(entry.topicFile.find('#') == std::string::npos ? entry.topicFile
                                                                           : topicFileOf(entry.topicFile));
    });
    FileList list;
    list.assign(std::move(paths));
    return list;
}

FileListMaker::~FileListMaker()
{
    cancel();
}

void FileListMaker::start(const ContentsEntry& root)
{
    cancel();
    m_root = &root;
    try {
        m_thread = std::thread([this] {
            try {
                m_list = fileListOf(*m_root);
            } catch (...) {
                m_failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // take() makes it.
    }
}

FileList FileListMaker::take()
{
    if (m_thread.joinable())
        m_thread.join();
    else if (m_root != nullptr)
        m_list = fileListOf(*m_root);
    m_root = nullptr;
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    return std::move(m_list);
}

void FileListMaker::cancel()
{
    if (m_thread.joinable())
        m_thread.join();
    m_root = nullptr;
    m_list = FileList();
    m_failure = nullptr;
}

void Project::swap(Project& other) noexcept
{
    using std::swap;
    swap(m_root, other.m_root);
    swap(keywords, other.keywords);
    swap(fileList, other.fileList);
    swap(windowSettings, other.windowSettings);
    swap(helpIds, other.helpIds);
    swap(helpLanguageId, other.helpLanguageId);
    swap(extraFiles, other.extraFiles);
    swap(projectFile, other.projectFile);
    swap(helpProjectFile, other.helpProjectFile);
    swap(contentsFile, other.contentsFile);
    swap(indexFile, other.indexFile);
    swap(compiledFile, other.compiledFile);
    swap(modified, other.modified);
}

int storedIconNumber(int iconNumber)
{
    return collapsedIconNumber(iconNumber);
}

int expandedIconNumber(int iconNumber)
{
    return (iconNumber >= 0 && iconNumber <= 7) ? (iconNumber | 1) : iconNumber;
}

int collapsedIconNumber(int iconNumber)
{
    return (iconNumber >= 0 && iconNumber <= 7) ? (iconNumber & ~1) : iconNumber;
}

}  // namespace doxel
