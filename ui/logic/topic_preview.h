#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/desktop.h"
#include "core/project.h"
#include "core/settings.h"
#include "ui/logic/preview_browser.h"

namespace doxel {

class KeywordIndex;

// What the preview needs of the main window.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;

    // The browser, created the first time it is asked for: never at
    // start-up, since a web engine is slow to start.
    virtual PreviewBrowser& browser() = 0;
    // The browser if it was created, else null.
    virtual PreviewBrowser* existingBrowser() = 0;
    // The entry selected in the contents tree; null when none.
    virtual ContentsEntry* selectedEntry() = 0;
    // Selects `entry` in the tree: its ancestors expand, it scrolls into
    // view and the selection feedback runs.
    virtual void selectEntry(const ContentsEntry& entry) = 0;
    // Makes the "Preview" page the active page, without the page change.
    virtual void showPreviewPage() = 0;
    virtual void openSettingsDialog() = 0;
    // Opens `file` in the desktop's plain-text editor.
    virtual void openInTextEditor(const std::string& file) = 0;
    // Starts the HTML editor: `command` is the HtmlEditor setting split into
    // words, field codes ("%f", "%U") still in it; `file` goes in as one
    // argument; `folder` is the working folder (empty: none).
    virtual void startHtmlEditor(const std::vector<std::string>& command, const std::string& file,
                                 const std::string& folder) = 0;
};

// A local file a topic reference names, with the anchor to open it at.
struct TopicLocation {
    std::string file;
    std::string anchor;
    bool operator==(const TopicLocation&) const = default;
};

// The existing file `reference` names: the whole reference when a file of
// that name exists, else the part before its last "#" (a file name may
// hold "#" on this platform, so the whole name is tried first). Nothing
// when neither exists or the name is a folder.
//     "/h/page.htm#part"  ->  {"/h/page.htm", "part"}
std::optional<TopicLocation> locateTopic(const std::string& reference);

// The entries before and after `entry` in display order, collapsed entries
// counted; null at either end.
ContentsEntry* previousInDisplayOrder(const ContentsEntry& entry);
ContentsEntry* nextInDisplayOrder(const ContentsEntry& entry);

// Whether the first word of an HtmlEditor command names a program that
// exists: a path to a file, or a name found on PATH.
bool htmlEditorFound(const std::string& command);

// The preview of topics: which file is shown when, Previous and Next over
// the display order, the keyword taken from the page's selection, and the
// four editor commands (two for the page shown, two for the selected
// contents entry).
class TopicPreview {
public:
    // `blankPage` is shown for an entry without an existing file.
    TopicPreview(Project& project, SettingsStore& settings, Desktop& desktop, PreviewHost& host, KeywordIndex& keywords,
                 std::string blankPage);

    // The address of the page the browser last finished loading, as a
    // local path; empty until the first page has loaded.
    const std::string& currentDocument() const { return m_currentDocument; }

    // pageChanged, to the "Preview" page: shows the selected entry.
    void pageShown();
    // previewSelectedEntry: the "Preview" page with the selected entry.
    void previewSelected();
    // previousTopic, nextTopic.
    void previous();
    void next();
    // refresh.
    void refresh();
    // pageLoaded: the browser finished loading the local file
    // `path`. A page reached by a link that is a topic of the project
    // selects its entry in the tree.
    void navigateComplete(const std::string& path);
    // The browser could not load the page it was sent to.
    void navigationFailed();
    // The Keyword From Selection button: the page's selected text becomes a keyword for the
    // page shown.
    void keywordFromSelection();
    // editShownPageInTextEditor, editShownPageInHtmlEditor: the page shown in an editor.
    void editDocumentInNotepad();
    void editDocumentInHtmlEditor();
    // editEntryInTextEditor, editEntryInHtmlEditor: the selected entry's
    // file in an editor.
    void editEntryInNotepad();
    void editEntryInHtmlEditor();

private:
    void showEntry(const ContentsEntry* entry);
    void show(const TopicLocation& location);
    void select(const ContentsEntry& entry);
    // Shows text 100 and the settings dialog when HtmlEditor names no
    // program; the command words otherwise.
    std::optional<std::vector<std::string>> htmlEditorCommand();
    std::string selectedTopicFile();
    void inform(int textId);

    Project& m_project;
    SettingsStore& m_settings;
    Desktop& m_desktop;
    PreviewHost& m_host;
    KeywordIndex& m_keywords;
    std::string m_blankPage;
    std::string m_currentDocument;
    // The file the preview last sent the browser to.
    std::string m_requested;
};

}  // namespace doxel
