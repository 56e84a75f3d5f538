#include "charts/ListLines.h"

#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace kvl {

namespace {

// Room for an item's own margins.
constexpr int ItemMargin = 8;

class LineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool wrap = false;
    QSize cell; // every row's size; nothing is measured per line

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return cell.isValid() ? cell : QStyledItemDelegate::sizeHint(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = option->text.simplified();
        if (wrap)
            option->features |= QStyleOptionViewItem::WrapText;
    }
};

LineDelegate *delegateOf(const QListWidget *list)
{
    return dynamic_cast<LineDelegate *>(list->itemDelegate());
}

// The line with the most characters stands for the widest: the lines of a
// list differ in their digits and names only.
QString longestLine(const QListWidget *list)
{
    QString longest;
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        if (text.size() > longest.size())
            longest = text;
    }
    return longest.simplified();
}

// The longest line stands for the widest, give or take a few letters of
// other widths.
int lineWidth(const QListWidget *list)
{
    const QFontMetrics metrics(list->font());
    return metrics.horizontalAdvance(longestLine(list)) + 3 * metrics.horizontalAdvance(QLatin1Char('W')) +
           ItemMargin;
}

int chrome(const QListWidget *list)
{
    return 2 * list->frameWidth() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
}

} // namespace

void showListLines(QListWidget *list)
{
    list->setItemDelegate(new LineDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int listLineWidth(const QListWidget *list)
{
    return lineWidth(list) + chrome(list);
}

void fitListRows(QListWidget *list, bool wrap)
{
    LineDelegate *delegate = delegateOf(list);
    if (!delegate)
        return;
    const QFontMetrics metrics(list->font());
    const int width = wrap ? list->width() - chrome(list) : lineWidth(list);
    const QSize cell(qMax(1, width), (wrap ? 2 : 1) * metrics.height() + 2);
    delegate->wrap = wrap;
    if (cell == delegate->cell)
        return;
    delegate->cell = cell;
    list->doItemsLayout();
}

} // namespace kvl
