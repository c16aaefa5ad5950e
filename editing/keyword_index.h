#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/project.h"
#include "core/text_ids.h"
#include "editing/edit_history.h"

namespace doxel {

// The caption of the input box of Add keyword; it is not translated.
inline constexpr const char* kAddKeywordCaption = "Add keyword";

// What the keyword commands ask of the user.
class KeywordDesktop {
public:
    virtual ~KeywordDesktop() = default;

    virtual void beep() = 0;
    // A text of the string table in the current language.
    virtual std::string text(int id) = 0;
    // A one-line input box with `prompt` above it (which topic the keyword
    // is for) and `text` filled in; nothing when cancelled.
    virtual std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                               const std::string& text) = 0;
    // A Yes/No question with the question icon and No as the default
    // button; true for Yes.
    virtual bool askYesNo(int textId, int captionId) = 0;
    // The keyword's properties: its text and its topic file, chosen among
    // `files` (full paths; an empty path for none). Nothing when cancelled.
    virtual std::optional<KeywordEntry> askProperties(const KeywordEntry& current,
                                                      const std::vector<std::string>& files) = 0;
};

// Tells the keyword view what changed, in the order a Qt item model needs
// it: every "about to" call comes before the list changes, its partner
// after. Every method does nothing by default.
class KeywordObserver {
public:
    virtual ~KeywordObserver() = default;

    virtual void rowsAboutToBeInserted(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void rowsInserted() {}
    virtual void rowsAboutToBeRemoved(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void rowsRemoved() {}
    // `destination` counts as in QAbstractItemModel::beginMoveRows: the row
    // before which the row goes, counted before the move. Never called for
    // a move that leaves the row where it is.
    virtual void rowAboutToBeMoved(std::size_t /*row*/, std::size_t /*destination*/) {}
    virtual void rowMoved() {}
    // A sort put many rows in new places.
    virtual void orderAboutToChange() {}
    virtual void orderChanged() {}
    // The texts of rows first to last changed in place.
    virtual void rowsChanged(std::size_t /*first*/, std::size_t /*last*/) {}
    // A command moved the selection (nothing: no row is selected); make it
    // the view's selected, current and visible row.
    virtual void selectionChanged(std::optional<std::size_t> /*row*/) {}
    // Automatic sorting went on or off: Up and Down follow it.
    virtual void autoSortChanged(bool /*on*/) {}
};

// Keys of the keyword list that run commands; the list's own handling of
// other keys stays.
enum class KeywordKey { CtrlUp, CtrlDown, Delete, F2 };

// The editor of the project's keyword list: an ordered list of rows
// (keyword, topic file) with at most one selected row, automatic sorting
// and the one-off sort by a click on the "Keyword" header. Keywords are
// compared as words (compareCaptions), as the contents tree's sort does.
//
// Every change sets the project's modified flag, merely selecting another
// row included. While automatic sorting is on the list stays in ascending
// order: a row whose keyword is set moves to its place, found by binary
// search, so adding to a long list does not sort it again. After a header
// click has sorted it otherwise, the next keyword change sorts it
// ascending once more.
//
// Keywords are one line: control characters become spaces, since the
// project file separates a keyword from its file with BEL and ends it with
// the line.
class KeywordIndex {
public:
    KeywordIndex(Project& project, KeywordDesktop& desktop);
    KeywordIndex(const KeywordIndex&) = delete;
    KeywordIndex& operator=(const KeywordIndex&) = delete;

    // Null detaches the observer.
    void setObserver(KeywordObserver* observer);
    // Every change of the list becomes a step of `history` (null: none is
    // recorded).
    void setHistory(EditHistory* history) { m_history = history; }

    const std::vector<KeywordEntry>& rows() const { return m_project.keywords; }
    std::optional<std::size_t> selected() const { return m_selected; }

    // New or Open replaced the project's keyword list: no row selected.
    // Automatic sorting stays as the author left it and puts the opened
    // list in order; the project is not modified by that.
    void projectReplaced();

    // The view's selection moved (nothing: no row selected).
    void select(std::optional<std::size_t> row);

    // A keyword for the topic file of the selected contents
    // entry (null: none). The title entry, a header and no entry beep.
    void add(const ContentsEntry* selectedEntry);
    // A row added without asking (keyword from the preview): placed as Add
    // places it and selected. An empty keyword adds nothing; an empty file
    // adds nothing and beeps.
    void addKeyword(const std::string& keyword, const std::string& topicFile);
    // Asks for a new keyword for the selected row.
    void edit();
    // The selected row's properties, keyword and file
    // (one of the project's files, or none), as one step.
    void editProperties();
    // A keyword edited in place in the list. An empty text keeps the old
    // keyword, as Edit does.
    void setKeyword(std::size_t row, const std::string& keyword);
    // The keyword's properties: its topic file (a full path; empty for
    // none), then its keyword as setKeyword sets it; one step.
    void setTopicFile(std::size_t row, const std::string& file);
    void setProperties(std::size_t row, const KeywordEntry& values);
    // The selected row goes at once; the row after it
    // (or the new last row) becomes selected.
    void deleteSelected();
    // Asks first.
    void deleteAll();
    // The selected row changes
    // place with its neighbour and stays selected. Nothing happens at the
    // ends, with no selection, or while automatic sorting is on and the
    // neighbour's keyword differs (the order would break).
    void moveUp();
    void moveDown();

    bool autoSort() const { return m_autoSort; }
    void setAutoSort(bool on);
    // Up and Down are offered only while sorting is not automatic.
    bool movesEnabled() const { return !m_autoSort; }

    // Column 0 flips the direction and sorts once in
    // it (the first click of the run ascending); column 1 does nothing.
    void headerClicked(int column);
    void keyDown(KeywordKey key);

private:
    void modified() { m_project.modified = true; }
    void setSelected(std::optional<std::size_t> row);
    // Puts the row at `row`, whose keyword was just set, in its place.
    void placeChangedRow(std::size_t row);
    void insertRow(KeywordEntry entry);
    void sortRows(bool ascending);
    bool inAscendingOrder() const;
    void move(bool up);
    // "Keyword for welcome.htm:", the prompt of Add and Edit.
    std::string promptFor(const std::string& topicFile);

    Project& m_project;
    KeywordDesktop& m_desktop;
    KeywordObserver* m_observer;
    EditHistory* m_history = nullptr;
    std::optional<std::size_t> m_selected;
    bool m_autoSort = false;
    // Whether the list is known to be in ascending order: true after an
    // ascending sort while automatic sorting keeps it so.
    bool m_ascending = false;
    // The direction of the next header click; the first click of the run
    // sorts ascending.
    bool m_headerAscending = false;
};

}  // namespace doxel
