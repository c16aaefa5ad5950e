#pragma once

#include <QToolBar>
#include <QTreeView>
#include <QWidget>

#include "editing/keyword_index.h"

namespace doxel {

class ActionRegistry;
class HeadingPanel;
class KeywordModel;

// The keyword list `KeyView`: a report list of two columns whose keyword
// is edited in place by a click on the selected row. It reports the keys
// the index commands act on (Ctrl+Up and Ctrl+Down are consumed; Delete
// and F2 are the commands' alone), a double click on a row and a click on
// a column header, and changes nothing by itself.
class KeyView final : public QTreeView {
    Q_OBJECT

public:
    // The width the keywords in sight need.
    int keywordWidthHint() const { return sizeHintForColumn(0); }
    explicit KeyView(QWidget* parent = nullptr);
    // Confirms a keyword being edited in place, as Enter would.
    void commitEditing();

signals:
    void keyPressed(doxel::KeywordKey key);
    void rowDoubleClicked();
    void columnClicked(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The "Index" page (TabIndex): heading Panel4, the vertical tool bar
// ToolBar4 and the keyword list KeyView (columns "Keyword" and "Associated
// file").
class IndexPage final : public QWidget {
    Q_OBJECT

public:
    IndexPage(ActionRegistry& actions, KeywordModel& model, QWidget* parent = nullptr);

    KeyView* keyView() const { return m_keyView; }
    QToolBar* toolBar() const { return m_toolBar; }

    // Makes `row` the selected, current and visible row (-1: none).
    void showSelectedRow(int row);
    // The keyword column as wide as its texts (and caption) need, at most
    // two thirds of the list.
    void fitKeywordColumn();

private:
    void fitKeywordColumnLater();

    HeadingPanel* m_heading;
    QToolBar* m_toolBar;
    KeyView* m_keyView;
    bool m_fitPending = false;
};

}  // namespace doxel
