#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/desktop.h"
#include "core/text_ids.h"

namespace doxel {

class ContentsEntry;

// What the editing commands need from the desktop. The window implements it
// with its desktop interaction layer; tests script it.
class EditorDesktop {
public:
    virtual ~EditorDesktop() = default;

    // A text of the string table in the current language, "|" already
    // turned into a line break.
    virtual std::string text(int id) = 0;
    virtual void beep() = 0;
    // A message box with an OK button; text and caption from the string
    // table (captionId kProgramName: "HTML Doxel").
    virtual void showMessage(MessageIcon icon, int textId, int captionId) = 0;
    // A message box with an OK button and fixed texts that are not
    // translated.
    virtual void showFixedMessage(MessageIcon icon, const std::string& caption, const std::string& text) = 0;
    // A Yes/No question with the question icon and No as the default
    // button; true for Yes.
    virtual bool askYesNo(int textId, int captionId) = 0;
    // Runs the window's Save as. The command reads the project's file name
    // afterwards to learn whether it happened.
    virtual void saveProjectAs() = 0;
    // The multi-select "Add Topic File..." dialog, starting in `startFolder`
    // (empty: where it was last). Full paths in the order the dialog gives
    // them; empty when cancelled.
    virtual std::vector<std::string> chooseTopicFiles(const std::string& startFolder) = 0;
};

// The icon chooser and the status line for the selected entry.
struct SelectionFeedback {
    bool chooserEnabled = false;
    int chooserRow = -1;  // -1: no row
    std::string statusText;
    bool operator==(const SelectionFeedback&) const = default;
};

// Tells the contents view what changed, in the order a Qt item model needs
// it: every "about to" call comes before the tree changes, its partner
// after. `parent` is the invisible root for entries of level 0 (the model's
// invalid index). Rows are positions among the parent's children, as
// ContentsEditor::rowOf gives them. Every method does nothing by default.
class ContentsObserver {
public:
    virtual ~ContentsObserver() = default;

    virtual void entriesAboutToBeInserted(const ContentsEntry& /*parent*/, std::size_t /*first*/, std::size_t /*last*/)
    {
    }
    virtual void entriesInserted() {}
    virtual void entriesAboutToBeRemoved(const ContentsEntry& /*parent*/, std::size_t /*first*/, std::size_t /*last*/)
    {
    }
    virtual void entriesRemoved() {}
    // `destinationRow` counts as in QAbstractItemModel::beginMoveRows: the
    // row of `to` before which the entry goes, counted before the move.
    // Never called for a move that leaves the entry where it is.
    virtual void entryAboutToBeMoved(const ContentsEntry& /*from*/, std::size_t /*row*/, const ContentsEntry& /*to*/,
                                     std::size_t /*destinationRow*/)
    {
    }
    virtual void entryMoved() {}
    // Sorting reorders the children of `parent`, or of every entry when
    // `parent` is null (a layout change).
    virtual void siblingOrderAboutToChange(const ContentsEntry* /*parent*/) {}
    virtual void siblingOrderChanged(const ContentsEntry* /*parent*/) {}

    // The caption, icon number or topic file of one entry changed.
    virtual void entryChanged(const ContentsEntry& /*entry*/) {}
    // Icon numbers changed all over the tree: repaint it.
    virtual void everyEntryChanged() {}
    // The editor expanded or collapsed `entry`; show entry.expanded.
    virtual void expansionChanged(const ContentsEntry& /*entry*/) {}
    // Expand all (true) or collapse all (false) set every flag.
    virtual void everyExpansionChanged(bool /*expanded*/) {}

    // A command moved the selection (null: none); make it the view's
    // current, focused and visible entry.
    virtual void selectionChanged(const ContentsEntry* /*entry*/) {}
    // The selection feedback: show `row` in the icon chooser (-1: none)
    // without reporting it back as a choice, enabled or not; and the text of
    // the status line.
    virtual void iconChooserChanged(bool /*enabled*/, int /*row*/) {}
    virtual void statusTextChanged(const std::string& /*text*/) {}
    // Start editing the entry's caption in place.
    virtual void captionEditRequested(const ContentsEntry& /*entry*/) {}

    // Rows of the file list were added; the file view reloads.
    virtual void fileListAboutToChange() {}
    virtual void fileListChanged() {}
};

}  // namespace doxel
