#include "charts/ChartState.h"

#include "charts/ChartTexts.h"

#include <algorithm>
#include <cmath>

namespace kvl {

namespace {

// Picture boxes and their caption labels, in twips.
constexpr TwipsRect SmallLeq10{30, 840, SmallWidthTwips, SmallHeightTwips};
constexpr TwipsRect SmallLeq1{30, 5220, SmallWidthTwips, SmallHeightTwips};
constexpr TwipsRect Enlarged{30, 840, LargeWidthTwips, LargeHeightTwips};
constexpr int CaptionTopSmallLeq10 = 4890;
constexpr int CaptionTopSmallLeq1 = 9240;
constexpr int CaptionWidthSmall = 7485;
constexpr int CaptionTopEnlarged = 9240;
constexpr int CaptionWidthEnlarged = 15195;
constexpr int CaptionHeight = 300;

// Distance of the buttons' left edges from the diagram's right edge, in
// chart units: zoom and print button, enlarged and small, 7 days and 1 or 3.
constexpr double ZoomD7Enlarged = 1.45, PrintD7Enlarged = 2.9;
constexpr double ZoomDEnlarged = 1.25, PrintDEnlarged = 2.5575;
constexpr double ZoomD7Small = 2.9, PrintD7Small = 5.85;
constexpr double ZoomDSmall = 2.6, PrintDSmall = 5.2;

// Smallest accepted selection: one unit wide, 5 dB high. The slack absorbs
// the binary error of a pointer position converted to units.
constexpr double MinWidth = 1, MinLevels = 5;
constexpr double Slack = 1e-9;
// One wheel notch narrows or widens the range by this factor.
constexpr double WheelFactor = 1.25;

double round1(double v)
{
    return std::round(v * 10) / 10;
}

ZoomRange rangeOf(const Scale &s)
{
    return ZoomRange{s.left, s.left + s.width, -(s.top + s.height), -s.top};
}

// Keeps [lo, hi] inside [min, max], keeping its length when it fits.
void clampSpan(double &lo, double &hi, double min, double max)
{
    const double length = hi - lo;
    if (length >= max - min) {
        lo = min;
        hi = max;
        return;
    }
    if (lo < min) {
        lo = min;
        hi = min + length;
    } else if (hi > max) {
        hi = max;
        lo = max - length;
    }
}

bool sameRange(const ZoomRange &a, const ZoomRange &b)
{
    return a.x1 == b.x1 && a.x2 == b.x2 && a.y1 == b.y1 && a.y2 == b.y2;
}

bool isVersion34(const Store &store)
{
    return store.Device_Version == Version35 || store.Device_Version == Version40;
}

bool hasPeriod(const Store &store)
{
    return !store.periodRows(LeqTable::rowCount).isEmpty();
}

// What the enlarged diagram covers, besides the other diagram and its caption.
const QList<ChartControl> &coveredControls()
{
    static const QList<ChartControl> controls = [] {
        QList<ChartControl> all;
        for (int c = 0; c <= int(ChartControl::NewChart); ++c)
            all << ChartControl(c);
        return all;
    }();
    return controls;
}

// Which covered controls come back when the diagram shrinks: only those that
// the window's load showed.
bool shownAfterShrink(ChartControl control, Diagram diagram, const Store &store)
{
    const bool v34 = isVersion34(store);
    const bool v5 = store.isVersion5Family();
    const bool schedule = v34 || (store.Seuils_Prets && store.Parametres_Constants);
    switch (control) {
    case ChartControl::MaxiLeq1:
    case ChartControl::MiniLeq1:
        return v5 && store.Leq1_Count > 1;
    case ChartControl::MaxiLeq10:
    case ChartControl::MiniLeq10:
        return (v34 && hasPeriod(store)) || (v5 && store.Leq10_Count >= 2);
    case ChartControl::NiveauJourFenetre:
    case ChartControl::NiveauNuitFenetre:
        // The open-door thresholds exist on firmware 5.X and "KVL 36" only,
        // and mean nothing without a schedule.
        if (diagram == Diagram::Leq10 && v34)
            return false;
        return schedule;
    case ChartControl::HeureJourNuit:
    case ChartControl::HeureNuitJour:
    case ChartControl::NiveauJour:
    case ChartControl::NiveauNuit:
        return schedule;
    case ChartControl::ThresholdsChanged:
        return thresholdsChangedShown(store);
    default:
        return true;
    }
}

} // namespace

TwipsRect captionGeometry(Diagram diagram, bool enlarged)
{
    if (enlarged)
        return TwipsRect{Enlarged.left, CaptionTopEnlarged, CaptionWidthEnlarged, CaptionHeight};
    return TwipsRect{Enlarged.left, diagram == Diagram::Leq1 ? CaptionTopSmallLeq1 : CaptionTopSmallLeq10,
                     CaptionWidthSmall, CaptionHeight};
}

TwipsRect pictureGeometry(Diagram diagram, bool enlarged)
{
    if (enlarged)
        return Enlarged;
    return diagram == Diagram::Leq1 ? SmallLeq1 : SmallLeq10;
}

Scale zoomScale(const ZoomRange &range)
{
    return Scale{range.x1, -range.y2, range.x2 - range.x1, range.y2 - range.y1};
}

Scale enlargedScale(int chartDays)
{
    return axesScale(chartDays, true);
}

ButtonPlacement buttonPlacement(int chartDays, bool enlarged)
{
    const bool week = chartDays == 7;
    const double zoomD =
        enlarged ? (week ? ZoomD7Enlarged : ZoomDEnlarged) : (week ? ZoomD7Small : ZoomDSmall);
    const double printD =
        enlarged ? (week ? PrintD7Enlarged : PrintDEnlarged) : (week ? PrintD7Small : PrintDSmall);
    const Scale axes = axesScale(chartDays, enlarged);
    const double width = axes.width;
    const double right = axes.left + width;
    const int pictureWidth = enlarged ? LargeWidthTwips : SmallWidthTwips;
    ButtonPlacement p;
    p.zoomLeft = right - zoomD;
    p.printLeft = right - printD;
    p.zoomLeftTwips = int(std::lround((width - zoomD) / width * pictureWidth));
    p.printLeftTwips = int(std::lround((width - printD) / width * pictureWidth));
    return p;
}

QString zoomImage(Diagram diagram, bool enlarged)
{
    const QString which = diagram == Diagram::Leq1 ? QStringLiteral("1") : QStringLiteral("10");
    return (enlarged ? QStringLiteral("No Zoom Leq ") : QStringLiteral("Zoom Leq ")) + which +
           QStringLiteral(".bmp");
}

QString toolTipSmall()
{
    return QStringLiteral("Zoom + .");
}

QString toolTipEnlarged()
{
    return QStringLiteral("Zoom - .");
}

QString toolTipAfterMouseZoom(Diagram diagram)
{
    return diagram == Diagram::Leq1 ? QStringLiteral("Zoom -.") : QStringLiteral("Zoom - .");
}

ChartState::ChartState()
{
    for (Diagram d : {Diagram::Leq10, Diagram::Leq1}) {
        pane(d).toolTip = toolTipSmall();
        pane(d).image = zoomImage(d, false);
    }
}

Scale ChartState::scale(Diagram diagram, int chartDays) const
{
    if (isZoomed(diagram))
        return zoomScale(m_zoom);
    if (pane(diagram).isEnlarged())
        return enlargedScale(chartDays);
    return axesScale(chartDays, false);
}

ZoomButtonEffect ChartState::zoomButton(Diagram diagram, const Store &store)
{
    ChartPane &p = pane(diagram);
    ZoomButtonEffect e;
    if (p.isSmall()) {
        e.which = ZoomButtonEffect::Enlarge;
        e.moveCaption = true;
        e.captionTop = CaptionTopEnlarged;
        e.captionWidth = CaptionWidthEnlarged;
        e.hide = coveredControls();
        e.hide << ChartControl::OtherCaption << ChartControl::OtherPicture;
        e.printVisible = true;
        e.image = zoomImage(diagram, true);
        e.toolTip = toolTipEnlarged();
    } else if (p.isEnlarged() && m_zoomSouris) {
        e.which = ZoomButtonEffect::LeaveMouseZoom;
        e.printVisible = true;
        e.toolTip = toolTipAfterMouseZoom(diagram);
    } else if (p.isEnlarged()) {
        e.which = ZoomButtonEffect::Shrink;
        e.moveCaption = true;
        e.captionTop = diagram == Diagram::Leq1 ? CaptionTopSmallLeq1 : CaptionTopSmallLeq10;
        e.captionWidth = CaptionWidthSmall;
        e.show << ChartControl::OtherCaption << ChartControl::OtherPicture;
        for (ChartControl c : coveredControls())
            (shownAfterShrink(c, diagram, store) ? e.show : e.hide) << c;
        e.printVisible = false;
        e.image = zoomImage(diagram, false);
        e.toolTip = toolTipSmall();
    } else {
        return e;
    }
    const bool enlarged = e.which != ZoomButtonEffect::Shrink;
    e.picture = pictureGeometry(diagram, enlarged);
    e.buttons = buttonPlacement(store.Chart_Days, enlarged);

    m_zoomSouris = false;
    resetSelection();
    p.widthTwips = e.picture.width;
    p.heightTwips = e.picture.height;
    p.printVisible = e.printVisible;
    p.toolTip = e.toolTip;
    if (!e.image.isEmpty())
        p.image = e.image;
    p.markerHidden = false;
    return e;
}

void ChartState::resetSelection()
{
    m_selectionActive = false;
    m_selX1 = m_selX2 = m_selY1 = m_selY2 = 0;
}

void ChartState::mouseDown(Diagram diagram, bool leftButton, double x, double y)
{
    if (leftButton && pane(diagram).isEnlarged()) {
        m_selectionActive = true;
        m_selX1 = m_selX2 = x;
        m_selY1 = m_selY2 = y;
    } else {
        resetSelection();
    }
}

std::optional<RubberBand> ChartState::mouseMove(double x, double y)
{
    if (!m_selectionActive)
        return std::nullopt;
    const double x1 = m_selX1, y1 = m_selY1;
    m_selX2 = x;
    m_selY2 = y;
    return RubberBand{Segment{x1, y1, x, y1}, Segment{x1, y, x, y}, Segment{x1, y1, x1, y},
                      Segment{x, y1, x, y}};
}

MouseUpEffect ChartState::mouseUp(Diagram diagram, double x, double y)
{
    MouseUpEffect e;
    ChartPane &p = pane(diagram);
    const double a = std::abs(m_selY1), b = std::abs(m_selY2);
    if (m_selectionActive && p.isEnlarged() && std::abs(m_selX1 - m_selX2) >= MinWidth - Slack &&
        std::abs(a - b) >= MinLevels - Slack) {
        // The range runs to the release point, in whichever direction it was dragged.
        double x1 = m_selX1, x2 = x, y1 = m_selY1, y2 = y;
        if (x2 < x1)
            std::swap(x1, x2);
        if (std::abs(y2) < std::abs(y1))
            std::swap(y1, y2);
        const ZoomRange range{round1(x1), round1(x2), round1(std::abs(y1)), round1(std::abs(y2))};
        // A release far from the last move could leave nothing to show.
        if (range.x2 > range.x1 && range.y2 > range.y1) {
            m_zoom = range;
            m_zoomSouris = true;
            // The print button stays: a zoomed range is what users want on paper.
            p.printVisible = true;
            p.markerHidden = false;
            e.accepted = true;
        }
    }
    resetSelection();
    // Only an enlarged diagram zooms out with its button.
    if (p.isEnlarged()) {
        e.setToolTip = true;
        e.toolTip = toolTipEnlarged();
        p.toolTip = e.toolTip;
    }
    return e;
}

bool ChartState::setRange(Diagram diagram, int chartDays, ZoomRange range)
{
    ChartPane &p = pane(diagram);
    const ZoomRange full = rangeOf(enlargedScale(chartDays));
    clampSpan(range.x1, range.x2, full.x1, full.x2);
    clampSpan(range.y1, range.y2, full.y1, full.y2);
    if (sameRange(range, full)) {
        if (!m_zoomSouris)
            return false;
        // Back to the whole diagram, as with the zoom button.
        m_zoomSouris = false;
        p.printVisible = true;
        p.markerHidden = false;
        p.toolTip = toolTipAfterMouseZoom(diagram);
        return true;
    }
    if (m_zoomSouris && sameRange(range, m_zoom))
        return false;
    m_zoom = range;
    m_zoomSouris = true;
    p.printVisible = true;
    p.markerHidden = false;
    p.toolTip = toolTipEnlarged();
    return true;
}

bool ChartState::wheel(Diagram diagram, int chartDays, double x, double y, int steps)
{
    if (steps == 0 || m_selectionActive || !pane(diagram).isEnlarged())
        return false;
    const ZoomRange from = rangeOf(scale(diagram, chartDays));
    const double f = std::pow(WheelFactor, steps);
    const double w = from.x2 - from.x1, h = from.y2 - from.y1;
    const double newW = std::max(MinWidth, w / f), newH = std::max(MinLevels, h / f);
    const double level = -y;
    ZoomRange to;
    to.x1 = x - (x - from.x1) * newW / w;
    to.x2 = to.x1 + newW;
    to.y1 = level - (level - from.y1) * newH / h;
    to.y2 = to.y1 + newH;
    return setRange(diagram, chartDays, to);
}

bool ChartState::pan(Diagram diagram, int chartDays, const ZoomRange &from, double dx, double dy)
{
    if (m_selectionActive || !isZoomed(diagram))
        return false;
    // y grows downwards, levels upwards.
    return setRange(diagram, chartDays, ZoomRange{from.x1 + dx, from.x2 + dx, from.y1 - dy, from.y2 - dy});
}

ChartState::ListClick ChartState::listClicked(Diagram diagram, const Store &store, const QStringList &entries,
                                              int row)
{
    ListClick c;
    const bool v5 = store.isVersion5Family();
    const bool allowed = diagram == Diagram::Leq1
                             ? v5 && store.Leq1_Count >= 2
                             : (isVersion34(store) && hasPeriod(store)) || (v5 && store.Leq10_Count >= 2);
    if (!allowed || row < 0 || row >= entries.size())
        return c;
    c.redraw = true;
    if (entries.at(row).trimmed().isEmpty()) {
        pane(diagram).markerHidden = true;
        return c;
    }
    qint32 count = 0;
    for (int i = 0; i <= row; ++i)
        if (!entries.at(i).trimmed().isEmpty())
            ++count;
    if (diagram == Diagram::Leq10 && isVersion34(store))
        count += store.Period_First - 1;
    c.marker = count;
    pane(diagram).markerHidden = false;
    return c;
}

} // namespace kvl
