#include "ui/logic/topic_preview.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "core/text_ids.h"
#include "editing/keyword_index.h"
#include "editing/topic_files.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/shell_open.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

bool isFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

std::string normalPath(const std::string& path)
{
    return fs::path(path).lexically_normal().string();
}

bool isExecutableFile(const std::string& path)
{
    return isFile(path) && ::access(path.c_str(), X_OK) == 0;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<TopicLocation> locateTopic(const std::string& reference)
{
    if (isFile(reference))
        return TopicLocation{reference, {}};
    const auto hash = reference.rfind('#');
    if (hash == std::string::npos)
        return std::nullopt;
    std::string file = reference.substr(0, hash);
    if (!isFile(file))
        return std::nullopt;
    return TopicLocation{std::move(file), reference.substr(hash + 1)};
}

ContentsEntry* previousInDisplayOrder(const ContentsEntry& entry)
{
    ContentsEntry* parent = entry.parent();
    if (parent == nullptr)
        return nullptr;
    const std::size_t row = entry.indexInParent();
    if (row == 0)
        return parent->parent() != nullptr ? parent : nullptr;
    ContentsEntry* previous = parent->child(row - 1);
    while (previous->childCount() > 0)
        previous = previous->child(previous->childCount() - 1);
    return previous;
}

ContentsEntry* nextInDisplayOrder(const ContentsEntry& entry)
{
    if (entry.childCount() > 0)
        return entry.child(0);
    for (const ContentsEntry* at = &entry; at->parent() != nullptr; at = at->parent()) {
        const ContentsEntry& parent = *at->parent();
        const std::size_t row = at->indexInParent();
        if (row + 1 < parent.childCount())
            return parent.child(row + 1);
    }
    return nullptr;
}

bool htmlEditorFound(const std::string& command)
{
    const std::vector<std::string> words = splitCommandLine(command);
    if (words.empty() || words[0].empty())
        return false;
    const std::string& program = words[0];
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program);
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        if (isExecutableFile((folder.empty() ? std::string(".") : folder) + "/" + program))
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

TopicPreview::TopicPreview(Project& project, SettingsStore& settings, Desktop& desktop, PreviewHost& host,
                           KeywordIndex& keywords, std::string blankPage)
    : m_project(project),
      m_settings(settings),
      m_desktop(desktop),
      m_host(host),
      m_keywords(keywords),
      m_blankPage(std::move(blankPage))
{
}

void TopicPreview::pageShown()
{
    showEntry(m_host.selectedEntry());
}

void TopicPreview::previewSelected()
{
    m_host.showPreviewPage();
    showEntry(m_host.selectedEntry());
}

void TopicPreview::showEntry(const ContentsEntry* entry)
{
    if (entry != nullptr && !m_project.isTitleEntry(entry)) {
        if (const auto location = locateTopic(entry->topicFile)) {
            show(*location);
            return;
        }
    }
    if (isFile(m_blankPage))
        show({m_blankPage, {}});
}

void TopicPreview::show(const TopicLocation& location)
{
    m_requested = location.file;
    m_host.browser().navigate(location.file, location.anchor);
}

void TopicPreview::select(const ContentsEntry& entry)
{
    m_host.selectEntry(entry);
    showEntry(&entry);
}

void TopicPreview::previous()
{
    ContentsEntry* selected = m_host.selectedEntry();
    if (selected == nullptr) {
        m_desktop.beep();
        return;
    }
    if (m_project.isTitleEntry(selected))
        return;
    ContentsEntry* previous = previousInDisplayOrder(*selected);
    if (previous == nullptr || m_project.isTitleEntry(previous)) {
        m_desktop.beep();
        return;
    }
    select(*previous);
}

void TopicPreview::next()
{
    ContentsEntry* selected = m_host.selectedEntry();
    if (selected == nullptr) {
        m_desktop.beep();
        return;
    }
    if (ContentsEntry* next = nextInDisplayOrder(*selected)) {
        select(*next);
        selected = next;
    }
    // Arriving on the last entry beeps, and so does every press after.
    if (nextInDisplayOrder(*selected) == nullptr)
        m_desktop.beep();
}

void TopicPreview::refresh()
{
    if (PreviewBrowser* browser = m_host.existingBrowser())
        browser->refresh();
}

void TopicPreview::navigateComplete(const std::string& path)
{
    m_currentDocument = path;
    const std::string shown = normalPath(path);
    if (path.empty() || shown == normalPath(m_requested) || shown == normalPath(m_blankPage))
        return;
    // A link led here: show the author where the page is in the contents.
    m_requested = path;
    const ContentsEntry* selected = m_host.selectedEntry();
    if (selected != nullptr) {
        if (const auto location = locateTopic(selected->topicFile); location && normalPath(location->file) == shown)
            return;
    }
    const ContentsEntry* found = nullptr;
    forEachEntry(m_project.root(), [&](const ContentsEntry& entry, int) {
        if (found != nullptr || entry.topicFile.empty())
            return;
        const auto location = locateTopic(entry.topicFile);
        if (location && normalPath(location->file) == shown)
            found = &entry;
    });
    if (found != nullptr)
        m_host.selectEntry(*found);
}

void TopicPreview::navigationFailed()
{
    // The support address is a build setting; without one the box asks
    // nobody to write, since no one would answer.
    const std::string address = DOXEL_SUPPORT_EMAIL;
    const std::string text =
        address.empty() ? "An error occurred." : "An error occurred. Please contact\n\r" + address + ". Thank you.";
    showMessage(m_desktop, text, kProgramName, MessageButtons::Ok, MessageIcon::Information);
}

void TopicPreview::keywordFromSelection()
{
    PreviewBrowser* browser = m_host.existingBrowser();
    // A selection over several lines becomes one line; the spaces a
    // selection picks up at its ends are no part of a keyword.
    const std::string keyword = browser != nullptr ? trimmed(oneLine(browser->selectedText())) : std::string();
    if (keyword.empty()) {
        inform(text_id::kNoSelectedText);
        return;
    }
    m_keywords.addKeyword(keyword, m_currentDocument);
}

void TopicPreview::editDocumentInNotepad()
{
    if (!isFile(m_currentDocument)) {
        m_desktop.beep();
        return;
    }
    m_host.openInTextEditor(m_currentDocument);
}

void TopicPreview::editDocumentInHtmlEditor()
{
    const auto command = htmlEditorCommand();
    if (!command)
        return;
    if (!isFile(m_currentDocument)) {
        m_desktop.beep();
        return;
    }
    m_host.startHtmlEditor(*command, m_currentDocument, {});
}

std::string TopicPreview::selectedTopicFile()
{
    const ContentsEntry* entry = m_host.selectedEntry();
    if (entry == nullptr || m_project.isTitleEntry(entry))
        return {};
    return entry->topicFile;
}

void TopicPreview::editEntryInNotepad()
{
    const std::string file = selectedTopicFile();
    const auto location = locateTopic(file);
    if (location && isEditableFile(file))
        m_host.openInTextEditor(location->file);
}

void TopicPreview::editEntryInHtmlEditor()
{
    const auto command = htmlEditorCommand();
    if (!command)
        return;
    const std::string file = selectedTopicFile();
    if (!isEditableFile(file))
        return;
    // The editor may create a file that is not there yet.
    const auto location = locateTopic(file);
    const std::string path = location ? location->file : file;
    m_host.startHtmlEditor(*command, path, std::string(folderOf(path)));
}

std::optional<std::vector<std::string>> TopicPreview::htmlEditorCommand()
{
    const std::string setting = Settings(m_settings).text(setting::kHtmlEditor);
    if (!htmlEditorFound(setting)) {
        inform(text_id::kNoHtmlEditor);
        m_host.openSettingsDialog();
        return std::nullopt;
    }
    return splitCommandLine(setting);
}

void TopicPreview::inform(int textId)
{
    showMessage(m_desktop, loadText(m_settings, textId), kProgramName, MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace doxel
