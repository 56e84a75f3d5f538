#include "charts/ChartLayout.h"

#include <algorithm>
#include <cmath>

namespace kvl {

namespace {

// The designed placement, in twips from the top-left corner of the window's
// area (the diagrams and their captions are ChartState's). The diagrams
// stand on the left, the lists and the level labels on the right.
constexpr int PixelTwips = 15;
constexpr int AreaWidth = 15300;
constexpr int AreaHeight = 9660;
constexpr int Left = 30;
constexpr int HeaderTop = 60;
constexpr int DateTop = 420;
constexpr int HeaderWidth = 12600;
constexpr int HeaderHeight = 330;
constexpr int NewGraphLeft = 13080;
constexpr int NewGraphWidth = 2115;
constexpr int NewGraphHeight = 690;
constexpr int RightLeft = 7680;
constexpr int RightWidth = 7515;
constexpr int TitleHeight = 255;
constexpr int ListTop = 840;
constexpr int ListGap = 75;
constexpr int LevelLabelsTop = 7290;
constexpr int LevelLabelRow = 285;
constexpr int LevelLabelWidth = 3700;
constexpr int SecondColumnDx = 3800;
constexpr int LabelsToBottom = AreaHeight - LevelLabelsTop - 6 * LevelLabelRow;
constexpr int ListsToLabels = LevelLabelsTop - (ListTop + 3 * TitleHeight + 3 * 1800 + 2 * ListGap);
constexpr int ButtonSize = 570;
constexpr int ButtonTop = 45;
// Below this the diagrams stop shrinking and the area scrolls instead.
constexpr double MinScale = 0.5;
// A list keeps at least this many rows in view.
constexpr int MinListRows = 2;

constexpr int px(int value)
{
    return value / PixelTwips;
}

// Spaces the designed layout keeps around the columns, in pixels.
constexpr int LeftMargin = px(Left);
constexpr int ColumnGap = px(RightLeft) - px(Left) - px(SmallWidthTwips);
constexpr int RightMargin = px(AreaWidth) - px(RightLeft) - px(RightWidth);

// Height of the left column for diagrams `h` pixels high: two diagrams and
// their captions, under the header.
int leftColumnHeight(int h)
{
    const int caption10 = px(captionGeometry(Diagram::Leq10, false).top) -
                          px(pictureGeometry(Diagram::Leq10, false).top) - px(SmallHeightTwips);
    const int leq1 =
        px(pictureGeometry(Diagram::Leq1, false).top) - px(captionGeometry(Diagram::Leq10, false).top);
    const int caption1 = px(captionGeometry(Diagram::Leq1, false).top) -
                         px(pictureGeometry(Diagram::Leq1, false).top) - px(SmallHeightTwips);
    const int below = px(AreaHeight) - px(captionGeometry(Diagram::Leq1, false).top);
    return px(pictureGeometry(Diagram::Leq10, false).top) + 2 * h + caption10 + leq1 + caption1 + below;
}

void placeDiagrams(ChartLayout &l, double f, int down)
{
    const int w = int(std::lround(px(SmallWidthTwips) * f));
    const int h = int(std::lround(px(SmallHeightTwips) * f));
    const TwipsRect p10 = pictureGeometry(Diagram::Leq10, false), p1 = pictureGeometry(Diagram::Leq1, false);
    const TwipsRect c10 = captionGeometry(Diagram::Leq10, false), c1 = captionGeometry(Diagram::Leq1, false);
    const int captionWidth = w - (px(p10.width) - px(c10.width));
    QRect picture(px(p10.left), px(p10.top) + down, w, h);
    l.picture[index(Diagram::Leq10)] = picture;
    QRect caption(px(c10.left), picture.bottom() + 1 + (px(c10.top) - px(p10.top) - px(p10.height)),
                  captionWidth, px(c10.height));
    l.caption[index(Diagram::Leq10)] = caption;
    picture.moveTop(caption.top() + (px(p1.top) - px(c10.top)));
    l.picture[index(Diagram::Leq1)] = picture;
    l.caption[index(Diagram::Leq1)] =
        QRect(px(c1.left), picture.bottom() + 1 + (px(c1.top) - px(p1.top) - px(p1.height)), captionWidth,
              px(c1.height));
}

void placeEnlarged(ChartLayout &l, QSize area, int down)
{
    const TwipsRect p = pictureGeometry(Diagram::Leq10, true);
    const TwipsRect c = captionGeometry(Diagram::Leq10, true);
    const int sideRoom = px(AreaWidth) - px(p.width);
    const int heightRoom = px(AreaHeight) - px(p.height);
    const double f = std::max(MinScale, std::min(double(area.width() - sideRoom) / px(p.width),
                                                 double(area.height() - down - heightRoom) / px(p.height)));
    l.enlargedScale = f;
    const QRect picture(px(p.left), px(p.top) + down, int(std::lround(px(p.width) * f)),
                        int(std::lround(px(p.height) * f)));
    l.enlargedPicture = picture;
    l.enlargedCaption = QRect(px(c.left), picture.bottom() + 1 + (px(c.top) - px(p.top) - px(p.height)),
                              picture.width() + (px(c.width) - px(p.width)), px(c.height));
}

// Level labels in the designed two columns, in two narrower ones, or in
// one when their texts do not fit side by side.
struct LabelColumns
{
    int count = 2, width = 0, secondDx = 0;
};
LabelColumns labelColumns(int width, const ChartTextSizes &texts)
{
    const int designed = px(LevelLabelWidth), designedDx = px(SecondColumnDx);
    if (designedDx + std::max(designed, texts.levelLabel) <= width)
        return LabelColumns{2, std::max(designed, texts.levelLabel),
                            std::max(designedDx, texts.levelLabel + ColumnGap)};
    const int half = (width - ColumnGap) / 2;
    if (texts.levelLabel <= half)
        return LabelColumns{2, half, half + ColumnGap};
    return LabelColumns{1, width, 0};
}

int labelRows(const LabelColumns &c)
{
    return c.count == 2 ? 6 : 12;
}

// The lists fill the right column down to the level labels, which keep
// their distance from the bottom.
void placeRightColumn(ChartLayout &l, const ChartTextSizes &texts, int down)
{
    const int x = l.picture[0].right() + 1 + ColumnGap;
    const int width = std::max(0, l.surface.width() - x - RightMargin);
    const LabelColumns columns = labelColumns(width, texts);
    const int row = px(LevelLabelRow);
    const int labelsTop = l.surface.height() - px(LabelsToBottom) - labelRows(columns) * row;
    for (int i = 0; i < LevelLabelCount; ++i) {
        const bool second = columns.count == 2 && i >= 6;
        const int r = columns.count == 2 ? i % 6 : i;
        l.levelLabel[std::size_t(i)] =
            QRect(x + (second ? columns.secondDx : 0), labelsTop + r * row, columns.width, px(TitleHeight));
    }
    // The six threshold and hour labels' place.
    const QRect &first = l.levelLabel[index(LevelLabel::NiveauJour)];
    const QRect &last = l.levelLabel[index(LevelLabel::HeureNuitJour)];
    l.thresholdNote = first.united(last);

    const int title = px(TitleHeight);
    const int gap = px(ListGap);
    const int listsTop = px(ListTop) + down;
    const int listHeight = (labelsTop - px(ListsToLabels) - listsTop - 3 * title - 2 * gap) / 3;
    int top = listsTop;
    for (int i = 0; i < 3; ++i) {
        l.listTitle[std::size_t(i)] = QRect(x, top, width, title);
        top += title;
        l.list[std::size_t(i)] = QRect(x, top, width, listHeight);
        top += listHeight + gap;
    }
    l.wrapLines = texts.listLine > width;
}

// The smallest height that keeps every list at least a few rows high.
int rightColumnHeight(const ChartTextSizes &texts, int width, int down)
{
    const bool wrap = texts.listLine > width;
    const int listHeight = MinListRows * std::max(1, texts.listRow) * (wrap ? 2 : 1) + 4;
    return down + px(ListTop) + 3 * px(TitleHeight) + 3 * listHeight + 2 * px(ListGap) + px(ListsToLabels) +
           labelRows(labelColumns(width, texts)) * px(LevelLabelRow) + px(LabelsToBottom);
}

// The narrowest right column: a list line in two rows, the level labels
// side by side.
int narrowestLists(const ChartTextSizes &texts)
{
    return std::min(px(RightWidth),
                    std::max(texts.listLine / 2 + texts.listLine / 8, 2 * texts.levelLabel + ColumnGap));
}

} // namespace

QSize designedChartArea()
{
    return QSize(px(AreaWidth), px(AreaHeight));
}

int chartButtonSize()
{
    return px(ButtonSize);
}

int chartButtonTop()
{
    return px(ButtonTop);
}

ButtonPixels buttonPixels(int chartDays, bool enlarged, int width)
{
    const ButtonPlacement p = buttonPlacement(chartDays, enlarged);
    const double pictureTwips = enlarged ? LargeWidthTwips : SmallWidthTwips;
    ButtonPixels b{int(std::lround(p.zoomLeftTwips / pictureTwips * width)),
                   int(std::lround(p.printLeftTwips / pictureTwips * width))};
    // On a picture smaller than designed the buttons keep their size: they
    // stay inside it, side by side.
    b.zoomLeft = std::min(b.zoomLeft, width - chartButtonSize());
    b.printLeft = std::min(b.printLeft, b.zoomLeft - chartButtonSize());
    return b;
}

ChartLayout chartLayout(QSize area, const ChartTextSizes &texts)
{
    ChartLayout l;
    const QSize designed = designedChartArea();
    const int smallWidth = px(SmallWidthTwips), smallHeight = px(SmallHeightTwips);
    const int sides = LeftMargin + ColumnGap + RightMargin;
    // A date line wider than its room takes two rows; what follows moves down.
    const int headerRoom =
        area.width() - (designed.width() - px(NewGraphLeft)) - (px(NewGraphLeft) - px(HeaderWidth));
    const int down = texts.header > headerRoom ? px(HeaderHeight) : 0;
    // Diagrams as high as the area allows.
    const double byHeight = double((area.height() - down - leftColumnHeight(0)) / 2) / smallHeight;
    double f;
    if (area.width() >= designed.width() && area.height() >= designed.height()) {
        // Larger: the lists keep at least their designed width.
        const double byWidth = double(area.width() - sides - px(RightWidth)) / smallWidth;
        f = std::max(1.0, std::min(byHeight, byWidth));
    } else {
        // Smaller: the lists keep room for a line in two rows.
        const double byWidth = double(area.width() - sides - narrowestLists(texts)) / smallWidth;
        f = std::clamp(std::min(byHeight, byWidth), MinScale, 1.0);
    }
    l.scale = f;
    placeDiagrams(l, f, down);

    // Larger than the area only where the diagrams reached their smallest.
    const int listsLeft = l.picture[0].right() + 1 + ColumnGap;
    const int listsWidth = std::max(narrowestLists(texts), area.width() - listsLeft - RightMargin);
    l.surface = area.expandedTo(
        QSize(listsLeft + listsWidth + RightMargin, std::max(down + leftColumnHeight(l.picture[0].height()),
                                                             rightColumnHeight(texts, listsWidth, down))));

    const int newGraphLeft = l.surface.width() - (designed.width() - px(NewGraphLeft));
    l.newGraph = QRect(newGraphLeft, px(HeaderTop), px(NewGraphWidth), px(NewGraphHeight));
    const int headerWidth = newGraphLeft - (px(NewGraphLeft) - px(HeaderWidth));
    l.header = QRect(LeftMargin, px(HeaderTop), headerWidth, px(HeaderHeight));
    l.date = QRect(LeftMargin, px(DateTop), headerWidth, px(HeaderHeight) + down);

    placeRightColumn(l, texts, down);
    placeEnlarged(l, area, down);
    return l;
}

} // namespace kvl

namespace kvl {

std::optional<QRectF> placeLabel(const QRectF &text, const QRectF &picture, const QList<QRectF> &keepClear)
{
    if (!text.intersects(picture) || text.width() > picture.width() || text.height() > picture.height())
        return std::nullopt;
    QRectF r = text;
    if (r.left() < picture.left())
        r.moveLeft(picture.left());
    if (r.right() > picture.right())
        r.moveRight(picture.right());
    if (r.top() < picture.top())
        r.moveTop(picture.top());
    if (r.bottom() > picture.bottom())
        r.moveBottom(picture.bottom());
    for (const QRectF &button : keepClear)
        if (r.intersects(button))
            return std::nullopt;
    return r;
}

} // namespace kvl
