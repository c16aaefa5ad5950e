#pragma once

#include <QObject>

#include <functional>

#include "editing/keyword_index.h"
#include "ui/kit/command_context.h"

namespace doxel {

class IndexPage;
class KeywordModel;

// The commands of the "Index" page: the buttons of ToolBar4, AddKeyw on the
// contents tool bar, and the keys, double click, header clicks and
// in-place editing of KeyView. Each handler runs one KeywordIndex command
// through the command runner; the index's reports drive the model, the
// view's selection and the enabling of Up and Down.
class IndexCommands final : public QObject, private KeywordObserver, private KeywordDesktop {
    Q_OBJECT

public:
    // `selectedEntry` gives the entry selected in the contents tree (null:
    // none), which Add keyword takes its file from.
    IndexCommands(const CommandContext& context, IndexPage& page, KeywordModel& model,
                  std::function<const ContentsEntry*()> selectedEntry);
    ~IndexCommands() override;

    KeywordIndex& keywords() { return m_index; }

    void addKeyword();
    // The button opens the row's properties (its keyword and file); a
    // double-click or F2 asks for the keyword alone.
    void editKeyword();
    void editKeywordText();
    void deleteKeyword();
    void deleteAllKeywords();
    void moveKeywordUp();
    void moveKeywordDown();
    void toggleSorting(bool down);
    void sortByColumn(int column);
    void keyPressedInList(KeywordKey key);
    // A keyword edited in place.
    void applyEditedKeyword(int row, const QString& text);

    // New or Open replaced the project's keyword list.
    void projectReplaced();

private:
    // KeywordObserver
    void rowsAboutToBeInserted(std::size_t first, std::size_t last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(std::size_t first, std::size_t last) override;
    void rowsRemoved() override;
    void rowAboutToBeMoved(std::size_t row, std::size_t destination) override;
    void rowMoved() override;
    void orderAboutToChange() override;
    void orderChanged() override;
    void rowsChanged(std::size_t first, std::size_t last) override;
    void selectionChanged(std::optional<std::size_t> row) override;
    void autoSortChanged(bool on) override;

    // KeywordDesktop
    void beep() override;
    std::string text(int id) override;
    std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                       const std::string& text) override;
    std::optional<KeywordEntry> askProperties(const KeywordEntry& current,
                                              const std::vector<std::string>& files) override;
    bool askYesNo(int textId, int captionId) override;

    template <typename Command>
    void run(Command&& command);
    void viewSelectionChanged();
    void showMovesEnabled();

    CommandContext m_context;
    IndexPage& m_page;
    KeywordModel& m_model;
    std::function<const ContentsEntry*()> m_selectedEntry;
    KeywordIndex m_index;
    // Above zero while a command runs: the view's echo of it is not a
    // gesture of the author.
    int m_depth = 0;
    // While New or Open replaces the list, inside the model's reset.
    bool m_replacing = false;
};

}  // namespace doxel
