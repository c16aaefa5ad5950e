#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

namespace doxel {

// The rows of an icon chooser: row n shows contents picture n, drawn at
// the row's left edge with the row's (empty) text two pixels to its right.
class ContentsPictureDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// An icon chooser (ImageCombo of the contents tool bar and of the item
// properties dialog): 42 rows, pictures 0 to 41 of the contents pictures.
// The user's choice arrives through `activated`; showRow never reports.
class IconCombo final : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kRows = 42;

    explicit IconCombo(QWidget* parent = nullptr);

    // Shows `row` (-1 or a number above 41: no row) without reporting it
    // as a choice.
    void showRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace doxel
