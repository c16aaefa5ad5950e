#include "ui/contents/icon_combo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalBlocker>

#include "ui/kit/icons.h"

namespace doxel {
namespace {

constexpr int kPicture = 16;
constexpr int kTextGap = 2;

// Some styles (Fusion among them) open a combo box's list as a menu as
// tall as all its rows, 42 pictures from the top of the screen to the
// bottom; the chooser drops down a list of maxVisibleItems rows instead.
class DropDownListStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QStyle* dropDownListStyle()
{
    // Owned by the application, which outlives every chooser.
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new DropDownListStyle(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

void ContentsPictureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    painter->save();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    const QRect picture(option.rect.left(), option.rect.top() + (option.rect.height() - kPicture) / 2, kPicture,
                        kPicture);
    // QIcon picks the pixmap for the screen's density, so the SVG art
    // stays sharp on high-density screens.
    contentsIcon(index.row()).paint(painter, picture);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(kPicture + kTextGap, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    }
    painter->restore();
}

QSize ContentsPictureDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const int textWidth = text.isEmpty() ? 0 : option.fontMetrics.horizontalAdvance(text) + kTextGap;
    return {kPicture + textWidth + 2, kPicture + 2};
}

IconCombo::IconCombo(QWidget* parent) : QComboBox(parent)
{
    setIconSize(QSize(kPicture, kPicture));
    for (int row = 0; row < kRows; ++row)
        addItem(contentsIcon(row), QString());
    setStyle(dropDownListStyle());
    setItemDelegate(new ContentsPictureDelegate(this));
    setMaxVisibleItems(14);
    setMinimumContentsLength(1);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The drop-down list is as narrow as its pictures; give it room for a
    // scroll bar as well.
    view()->setMinimumWidth(kPicture + 8 + QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    view()->installEventFilter(this);
}

bool IconCombo::eventFilter(QObject* watched, QEvent* event)
{
    // Escape closes the open list; without this, the window's Escape
    // shortcut (Exit) would take the key first.
    if (watched == view() && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        event->accept();
    return QComboBox::eventFilter(watched, event);
}

void IconCombo::showRow(int row)
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(row >= 0 && row < count() ? row : -1);
}

}  // namespace doxel
