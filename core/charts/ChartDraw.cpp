#include "charts/ChartDraw.h"

#include "charts/ChartPeriod.h"
#include "store/Layout.h"
#include "store/Names.h"

#include <cmath>

namespace kvl {

namespace {

// ---------------------------------------------------------------------------
// Layout of a diagram, in chart units: x = 12 is the start day at 12:00, one
// unit is 1, 3 or 6 hours; y = -L is L dB. Offsets are from the scale's
// left edge (left) or right edge (left + width) where the names say so.
// ---------------------------------------------------------------------------

// Coordinate system: 24 units for 1 and 3 days, 28 for 7, plus margins.
constexpr double ScaleLeft = 9;
constexpr double ScaleWidthShort = 30; // 1 and 3 days
constexpr double ScaleWidthWeek = 34;  // 7 days
constexpr double ScaleTop = -129;      // 129 dB at the top edge
constexpr double ScaleHeight = 81;     // down to 48 dB
constexpr double ZoomScaleTop = -130;  // enlarged 1 and 3 days: 130 dB ..
constexpr double ZoomScaleHeight = 80; // .. down to 50 dB

constexpr int AxesFontSize = 8;
constexpr int ZoomAxesFontSize = 10;
constexpr int DefaultFontSize = 8; // what routines leave behind

// Time axis at 60 dB, from left + 1 to an arrow tip at right - 1. The
// arrow head's strokes start this far back from the right edge (not from
// the tip).
constexpr double TimeAxisY = -60;
constexpr double ArrowBackShort = 1.75; // 1 and 3 days
constexpr double ArrowBackWeek = 2;     // 7 days
constexpr double ZoomArrowBackWeek = 1.55;
constexpr double ArrowHalfShort = 1; // half the arrow head's height, dB
constexpr double ArrowHalfWeek = 2;
constexpr double LongTickHalf = 2; // even ticks reach 58 to 62 dB
constexpr double ShortTickHalf = 1;

// Hour labels under the ticks (top-left corner), and the unit text.
constexpr double HourLabelY = -57;
constexpr double HourLabelDx = 2.7; // from left, plus the tick number
constexpr double ZoomHourLabelDxShort = 2.8;
constexpr double HourUnitDxShort = 2; // back from the right edge
constexpr double HourUnitDxWeek = 1.5;

// Date labels and the midnight separators below the hour labels.
constexpr double DateLabelY = -52.5;
constexpr double SeparatorTop = -52.5, SeparatorBottom = -49;
constexpr double ZoomSeparatorTop = -54, ZoomSeparatorBottom = -51;
constexpr double ZoomSeparatorBottomWeek = -49;
// 1 day: the two dates and the midnight between them, from left.
constexpr double DayOneLabelDx = 7, DayTwoLabelDx = 19, DayMidnightDx = 15;
// 3 days: day k > 1 at left + 1 + 8 (k - 1); day 1 at left + 2.
constexpr double ThreeDaysFirstDx = 2, ThreeDaysLabelDx = 1, ThreeDaysStep = 8;
// 7 days: day k at left + 1.75 + 4 (k - 1), separators at left + 1 + 4 (k - 1).
constexpr double WeekLabelDx = 1.75, WeekSeparatorDx = 1, WeekStep = 4;

// Level axis at x = left + 2 from 55 dB up to an arrow tip at 125 dB.
constexpr double LevelAxisDx = 2;
constexpr double LevelAxisBottom = -55, LevelAxisTop = -125;
constexpr double LevelArrowBack = 2.5, LevelArrowHalf = 0.5;
constexpr double LevelTickHalf = 0.25;
// Labels 65..120 dB: two digits at left + 0.5, three at left + 0.25.
constexpr double LevelLabelDx2 = 0.5, LevelLabelDx3 = 0.25, LevelLabelDy = 2;
constexpr double ZoomLevelLabelDx2 = 1, ZoomLevelLabelDx3 = 0.75, ZoomLevelLabelDy = 1.25;
constexpr double LevelUnitDx = 0.5, LevelUnitY = -128;

// Recording limit: 70 dB line, caption and a hatched band 60..70 dB.
constexpr double LimitY = -70;
constexpr double LineStartX = 11; // the level axis
constexpr double LineEndShort = 37, LineEndWeek = 41;
constexpr double LimitCaptionX = 20.5, LimitCaptionY = -68;
constexpr int LimitCaptionFont = 11;
constexpr double ZoomLimitCaptionX = 22, ZoomLimitCaptionY = -67;
constexpr int ZoomLimitCaptionFont = 14;
constexpr double BandBottom = -60, BandTop = -70;
constexpr double BandSlope = 5; // dB per unit
constexpr double BandLeftFrom = 12, BandLeftTo = 20;
constexpr double BandRightFromShort = 30, BandRightToShort = 36;
constexpr double BandRightFromWeek = 32, BandRightToWeek = 40;

// Leq1 diagram: the 70 dB line and its note.
constexpr double Leq1NoteY = -67;
constexpr double Leq1NoteX = 12, ZoomLeq1NoteX = 16;
constexpr int Leq1NoteFont = 8, ZoomLeq1NoteFont = 12;

// Gap tolerance: a record exactly the gap limit after the previous one
// starts a new step even when the seven-decimal day difference rounds the
// distance a hair below the limit.
constexpr double GapTolerance = 1e-9;

// Zoom grid: labels nudged right of their hour line by a share of the
// scale height (as the grid always did), hour labels at the top and bottom,
// level labels at the left and right edges.
constexpr double GridLabelDxPerHeight = 0.0033;
constexpr double GridLabelRaise = 0.025;     // of the height, above bottom edge or line
constexpr double GridRightLabelBack = 0.015; // of the width, from the right edge
constexpr int GridFontSize = 8;
// The grid lines' own colour: quiet enough not to compete with the series.
constexpr Rgb GridLineColour{160, 160, 160};
constexpr int GridLevelLines = 12; // 65 .. 120 dB

// Zoom date labels: their top at 7.5 % of the height above the bottom edge.
constexpr double ZoomDateRaise = 0.075;
// A range inside one chart day keeps its label within the left three
// quarters, so a label as wide as a quarter of the picture still fits.
constexpr double ZoomDateMaxShare = 0.75;

// Marker: a line from 5 dB above the record to 1 dB above, then an arrow
// head ending 0.1 dB above it.
constexpr double MarkerTop = 5, MarkerHead = 1, MarkerTip = 0.1, MarkerHalf = 0.05;

// ---------------------------------------------------------------------------

bool knownLength(int days)
{
    return days == 1 || days == 3 || days == 7;
}

double lineEnd(int days)
{
    return days == 7 ? LineEndWeek : LineEndShort;
}

int tickCount(int days)
{
    return days == 7 ? 28 : 24;
}

bool isSmall(const Canvas &canvas)
{
    return canvas.widthTwips() == SmallWidthTwips;
}

// "05 / 03 / 2007" (1 and 3 days) or "05/03/07" (7 days) for chart day k.
QString dateLabel(const Store &store, int k, bool week)
{
    const QDate day = chartDay(store, k);
    if (!day.isValid())
        return QString();
    if (!week)
        return day.toString(QStringLiteral("dd / MM / yyyy"));
    return day.toString(QStringLiteral("dd/MM/")) + twoDigitText(day.year() - 2000);
}

// Hour of day at tick i: 12:00 plus i units of 1, 3 or 6 hours.
QString hourOfTick(int i, int days)
{
    const int unitHours = minutesPerUnit(days) / 60;
    return twoDigitText((12 + i * unitHours) % 24);
}

struct AxesStyle
{
    bool zoom = false;
    Diagram diagram = Diagram::Leq10;
};

void drawAxes(Canvas &canvas, const Store &store, Rgb colour, AxesStyle style)
{
    const int days = store.Chart_Days;
    if (!knownLength(days))
        return;
    const bool week = days == 7;
    const bool zoomShort = style.zoom && !week;
    const Scale scale = axesScale(days, style.zoom);
    const double left = scale.left;
    const double width = scale.width;
    canvas.setScale(scale.left, scale.top, scale.width, scale.height);
    canvas.setColour(colour);
    canvas.setFontSize(style.zoom ? ZoomAxesFontSize : AxesFontSize);
    canvas.setBold(false);
    canvas.setLineWidth(1);
    const double right = left + width;

    // Time axis and its arrow head.
    const double tip = right - 1;
    const double back = week ? (style.zoom ? ZoomArrowBackWeek : ArrowBackWeek) : ArrowBackShort;
    const double half = week ? ArrowHalfWeek : ArrowHalfShort;
    canvas.line(left + 1, TimeAxisY, tip, TimeAxisY);
    canvas.line(right - back, TimeAxisY - half, tip, TimeAxisY);
    canvas.line(right - back, TimeAxisY + half, tip, TimeAxisY);

    // Ticks, and the hour under every even one.
    const int n = tickCount(days);
    const double hourDx = zoomShort ? ZoomHourLabelDxShort : HourLabelDx;
    for (int i = 0; i <= n; ++i) {
        const double x = 12 + i;
        const double h = i % 2 == 0 ? LongTickHalf : ShortTickHalf;
        canvas.line(x, TimeAxisY - h, x, TimeAxisY + h);
    }
    for (int i = 0; i <= n; i += 2)
        canvas.text(left + hourDx + i, HourLabelY, hourOfTick(i, days));
    const QString unit = !style.zoom ? QStringLiteral("Hrs")
                         : week      ? QStringLiteral("Hours")
                                     : QStringLiteral("Heures");
    canvas.text(right - (week ? HourUnitDxWeek : HourUnitDxShort), HourLabelY, unit);

    // Dates of the chart days and the midnights between them.
    const double sepTop = style.zoom ? ZoomSeparatorTop : SeparatorTop;
    const double sepBottom =
        style.zoom ? (week ? ZoomSeparatorBottomWeek : ZoomSeparatorBottom) : SeparatorBottom;
    auto separator = [&](double x) { canvas.line(x, sepBottom, x, sepTop); };
    if (days == 1) {
        canvas.text(left + DayOneLabelDx, DateLabelY, dateLabel(store, 1, false));
        separator(left + DayMidnightDx);
        canvas.text(left + DayTwoLabelDx, DateLabelY, dateLabel(store, 2, false));
    } else if (days == 3) {
        for (int k = 1; k <= 4; ++k) {
            const double x =
                k == 1 ? left + ThreeDaysFirstDx : left + ThreeDaysLabelDx + ThreeDaysStep * (k - 1);
            canvas.text(x, DateLabelY, dateLabel(store, k, false));
            if (k <= 3)
                separator(left - 1 + ThreeDaysStep * k);
        }
    } else {
        for (int k = 1; k <= 8; ++k) {
            if (k >= 2)
                separator(left + WeekSeparatorDx + WeekStep * (k - 1));
            canvas.text(left + WeekLabelDx + WeekStep * (k - 1), DateLabelY, dateLabel(store, k, true));
        }
    }

    // Level axis, its arrow head, ticks and labels 65 .. 120 dB.
    const double axisX = left + LevelAxisDx;
    canvas.line(axisX, LevelAxisBottom, axisX, LevelAxisTop);
    canvas.line(axisX, LevelAxisTop, axisX - LevelArrowHalf, LevelAxisTop + LevelArrowBack);
    canvas.line(axisX, LevelAxisTop, axisX + LevelArrowHalf, LevelAxisTop + LevelArrowBack);
    for (int k = 1; k <= 12; ++k) {
        const int level = 60 + 5 * k;
        canvas.line(axisX - LevelTickHalf, -level, axisX + LevelTickHalf, -level);
        const bool threeDigits = level >= 100;
        const double dx = style.zoom ? (threeDigits ? ZoomLevelLabelDx3 : ZoomLevelLabelDx2)
                                     : (threeDigits ? LevelLabelDx3 : LevelLabelDx2);
        const double dy = style.zoom ? ZoomLevelLabelDy : LevelLabelDy;
        canvas.text(left + dx, -(level + dy), QString::number(level));
    }

    QString levelUnit = QStringLiteral("dB");
    if (style.zoom) {
        if (style.diagram == Diagram::Leq1)
            levelUnit = QStringLiteral("Leq1 Level (dB)");
        else
            levelUnit = week ? QStringLiteral("Leq10 Level (dB)") : QStringLiteral("Leq10 Level(dB)");
    }
    canvas.text(left + LevelUnitDx, LevelUnitY, levelUnit);
}

// Diagonals of slope 5 dB per unit, one pair from every whole x, cut at the
// band's ends.
void hatch(Canvas &canvas, double from, double to)
{
    const double rise = BandSlope;
    for (int x = int(from) - 1; x < int(to); ++x) {
        const double a = std::max<double>(x, from);
        const double b = std::min<double>(x + 2, to);
        if (b <= a)
            continue;
        // Downwards (60 dB at x to 70 dB at x + 2), then upwards.
        canvas.line(a, BandBottom - rise * (a - x), b, BandBottom - rise * (b - x));
        canvas.line(a, BandTop + rise * (a - x), b, BandTop + rise * (b - x));
    }
}

double levelY(const qint16 *row)
{
    return -leqLevel(row);
}

struct DaySpan
{
    double start = 0, end = 0;
};

// Chart day k's span of x: the midnights cut the chart into days.
DaySpan daySpan(int days, int k)
{
    if (days == 1)
        return k == 1 ? DaySpan{12, 24} : DaySpan{24, 36};
    if (days == 3) {
        static const DaySpan spans[] = {{12, 16}, {16, 24}, {24, 32}, {32, 36}};
        return spans[k - 1];
    }
    if (k == 1)
        return {12, 14};
    if (k == 8)
        return {38, 40};
    return {14.0 + 4 * (k - 2), 18.0 + 4 * (k - 2)};
}

int chartDayCount(int days)
{
    return days == 1 ? 2 : days == 3 ? 4 : 8;
}

double roundTenth(double x)
{
    return std::round(x * 10) / 10;
}

} // namespace

LeqSeries diagramSeries(const Store &store, Diagram diagram)
{
    if (diagram == Diagram::Leq1)
        return LeqSeries::Leq1;
    return store.isVersion5Family() ? LeqSeries::Leq10 : LeqSeries::Leq;
}

SeriesRows seriesRows(const Store &store, LeqSeries series)
{
    switch (series) {
    case LeqSeries::Leq10:
        return {&store.Leq10_Records, 1, std::min(LeqTable::rowCount, store.Leq10_Count - 1)};
    case LeqSeries::Leq1:
        return {&store.Leq1_Records, 1, std::min(LeqTable::rowCount, store.Leq1_Count - 1)};
    case LeqSeries::Leq:
        break;
    }
    const PeriodRows rows = store.periodRows(LeqTable::rowCount);
    if (rows.isEmpty())
        return {&store.Leq_Records, 1, 0};
    return {&store.Leq_Records, rows.first, rows.last};
}

void Tracer_Axes(Canvas &canvas, const Store &store, Rgb colour)
{
    drawAxes(canvas, store, colour, AxesStyle{false, Diagram::Leq10});
}

void Tracer_Axes_Zoom(Canvas &canvas, const Store &store, Diagram diagram, Rgb colour)
{
    drawAxes(canvas, store, colour, AxesStyle{true, diagram});
}

void Tracer_Limite_Enregistrement(Canvas &canvas, const Store &store, Rgb colour)
{
    // Firmware 3.5 records every level, so there is no limit to show.
    const int days = store.Chart_Days;
    if (store.Device_Version == Version35 || !knownLength(days))
        return;
    canvas.setColour(colour);
    canvas.line(LineStartX, LimitY, lineEnd(days), LimitY);
    const bool small = isSmall(canvas);
    canvas.setFontSize(small ? LimitCaptionFont : ZoomLimitCaptionFont);
    canvas.text(small ? LimitCaptionX : ZoomLimitCaptionX, small ? LimitCaptionY : ZoomLimitCaptionY,
                QStringLiteral("           Record Limit"));
    hatch(canvas, BandLeftFrom, BandLeftTo);
    if (days == 7)
        hatch(canvas, BandRightFromWeek, BandRightToWeek);
    else
        hatch(canvas, BandRightFromShort, BandRightToShort);
    canvas.setColour(colours::Black);
    canvas.setFontSize(DefaultFontSize);
}

SeriesOutcome Tracer_Serie(Canvas &canvas, const Store &store, LeqSeries series, int chartDays, Rgb colour)
{
    SeriesOutcome outcome;
    const bool hasPeriod = !store.periodRows(LeqTable::rowCount).isEmpty();
    if (series == LeqSeries::Leq) {
        if (!hasPeriod) {
            outcome.hideZoomLeq10 = outcome.hideZoomLeq1 = true;
            return outcome;
        }
    } else {
        const int count = series == LeqSeries::Leq10 ? store.Leq10_Count : store.Leq1_Count;
        if (!hasPeriod || count < 2) {
            // Records in the period but none of this series: nothing to zoom on.
            if (hasPeriod)
                (series == LeqSeries::Leq10 ? outcome.hideZoomLeq10 : outcome.hideZoomLeq1) = true;
            return outcome;
        }
    }
    const int unit = minutesPerUnit(chartDays);
    if (unit == 0)
        return outcome;

    const bool leq1 = series == LeqSeries::Leq1;
    const double step = double(seriesMinutes(series)) / unit;
    // Rows more than a minute further apart than one level are not joined.
    const double gap = (seriesMinutes(series) + 1.0) / unit;

    if (leq1) {
        canvas.line(LineStartX, LimitY, lineEnd(chartDays), LimitY, colours::Blue);
        const bool small = isSmall(canvas);
        canvas.setColour(colours::Blue);
        canvas.setFontSize(small ? Leq1NoteFont : ZoomLeq1NoteFont);
        canvas.text(small ? Leq1NoteX : ZoomLeq1NoteX, Leq1NoteY,
                    chartDays == 7 ? QStringLiteral("Leq1 recorded Level when treshold order is over !!!")
                                   : QStringLiteral("Leq1 Level recorded when treshold order is over !!!"));
        canvas.setFontSize(DefaultFontSize);
    }

    canvas.setColour(colour);
    const SeriesRows rows = seriesRows(store, series);
    const LeqTable &table = *rows.table;
    ChartOrigin origin = chartOrigin(store);
    origin.unitMinutes = unit;
    bool first = true;
    double xPrev = 0, yPrev = 0;
    for (int i = rows.first; i <= rows.last; ++i) {
        const qint16 *row = table.row(i);
        const double x = recordX(origin, row);
        if (std::isnan(x))
            continue; // a stamp that is no date has no place on the time axis
        const double y = levelY(row);
        canvas.point(x, y);
        if (first || x - xPrev >= gap - GapTolerance) {
            canvas.line(x - step, y, x, y);
        } else {
            canvas.line(xPrev, yPrev, xPrev, y);
            canvas.line(xPrev, y, x, y);
        }
        first = false;
        xPrev = x;
        yPrev = y;
    }
    return outcome;
}

Scale axesScale(int chartDays, bool enlarged)
{
    const bool week = chartDays == 7;
    const bool zoomShort = enlarged && !week;
    return Scale{ScaleLeft, zoomShort ? ZoomScaleTop : ScaleTop, week ? ScaleWidthWeek : ScaleWidthShort,
                 zoomShort ? ZoomScaleHeight : ScaleHeight};
}

void Tracer_Seuils(Canvas &canvas, const Store &store, Rgb colour)
{
    if (!store.Seuils_Prets)
        return;
    const int days = store.Chart_Days;
    const int rows = int(store.Tab_Seuils.size()) - 1; // row 0 is unused
    if (rows < 1 || !knownLength(days))
        return;
    const ChartOrigin origin = chartOrigin(store);
    canvas.setColour(colour);
    double xPrev = LineStartX;
    int drawn = 0;
    double lastX = 0, lastAfter = 0;
    for (int i = 1; i <= rows; ++i) {
        const auto &r = store.Tab_Seuils[std::size_t(i)];
        const double x =
            chartX(origin, r[seuil::Minute], r[seuil::Hour], r[seuil::Day], r[seuil::Month], r[seuil::Year]);
        if (std::isnan(x))
            continue;
        canvas.line(xPrev, -r[seuil::Before], x, -r[seuil::Before]);
        canvas.line(x, -r[seuil::Before], x, -r[seuil::After]);
        xPrev = x;
        lastX = x;
        lastAfter = r[seuil::After];
        ++drawn;
    }
    // The threshold after the last switch holds to the end of the chart.
    if (drawn > 0)
        canvas.line(lastX, -lastAfter, lineEnd(days), -lastAfter);
}

void Tracer_Grille(Canvas &canvas, const Store &store, bool visible)
{
    // The grid is rebuilt whole each time; hiding it removes it, the same
    // picture as drawing it over in white.
    canvas.clearLayer(Layer::Grid);
    const int days = store.Chart_Days;
    if (!visible || !knownLength(days))
        return;
    const Layer layer = canvas.layer();
    const Rgb colour = canvas.colour();
    const int fontSize = canvas.fontSize();
    const bool bold = canvas.bold();
    canvas.setLayer(Layer::Grid);
    canvas.setFontSize(GridFontSize);
    canvas.setBold(false);

    const Scale s = canvas.scale();
    const double bottom = s.top + s.height;
    const double raise = GridLabelRaise * s.height;
    canvas.setColour(colours::Black);
    for (int i = 0; i <= tickCount(days); ++i) {
        const double x = 12 + i;
        canvas.line(x, s.top, x, bottom, GridLineColour);
        const QString label = hourOfTick(i, days) + QStringLiteral("h.");
        const double lx = x + GridLabelDxPerHeight * s.height;
        canvas.text(lx, s.top, label);
        canvas.text(lx, bottom - raise, label);
    }
    for (int k = 0; k < GridLevelLines; ++k) {
        const int level = 65 + 5 * k;
        canvas.line(s.left, -level, s.left + s.width, -level, GridLineColour);
        const QString label = QString::number(level) + QStringLiteral(" dB");
        canvas.text(s.left, -level - raise, label);
        canvas.text(s.left + s.width - GridRightLabelBack * s.width, -level - raise, label);
    }

    canvas.setLayer(layer);
    canvas.setColour(colour);
    canvas.setFontSize(fontSize);
    canvas.setBold(bold);
}

QString Texte_Date_Jour(const Store &store, int k)
{
    return dateLabel(store, k, false);
}

void Tracer_Dates_Zoom(Canvas &canvas, const Store &store, int first, int last, Rgb colour)
{
    const int days = store.Chart_Days;
    if (!knownLength(days))
        return;
    const double a = std::min(first, last);
    const double b = std::max(first, last);
    // Chart days the range touches; a range of no width touches the day it
    // lies in.
    QList<int> touched;
    for (int k = 1; k <= chartDayCount(days); ++k) {
        const DaySpan d = daySpan(days, k);
        const bool overlaps = a < b ? (a < d.end && b > d.start) : (a >= d.start && a < d.end);
        if (overlaps)
            touched.append(k);
    }
    if (touched.isEmpty())
        return;
    const Scale s = canvas.scale();
    const double y = s.top + s.height - ZoomDateRaise * s.height;
    canvas.setColour(colour);
    for (int k : touched) {
        const DaySpan d = daySpan(days, k);
        double x;
        if (k == touched.first()) {
            x = (a + d.end) / 2;
            // A range wholly inside one day, of whatever chart day: the left
            // edge halfway from a to the day's end can lie beyond the range
            // (a = 26, b = 28 in day 3 would give 29). Keep the label within
            // the left three quarters of the range so that it stays readable.
            if (touched.size() == 1)
                x = std::min(x, a + ZoomDateMaxShare * (b - a));
        } else if (k == touched.last()) {
            x = (d.start + b) / 2;
        } else {
            x = (d.start + d.end) / 2;
        }
        canvas.text(roundTenth(x), y, Texte_Date_Jour(store, k));
    }
}

void Tracer_Repere(Canvas &canvas, const Store &store, Diagram diagram, int record, Rgb colour,
                   double shrinkX, double shrinkY)
{
    const SeriesRows rows = seriesRows(store, diagramSeries(store, diagram));
    // Only a record the diagram shows can be marked.
    if (record < rows.first || record > rows.last)
        return;
    const qint16 *row = rows.table->row(record);
    const double x = recordX(chartOrigin(store), row);
    if (std::isnan(x))
        return;
    const double y = levelY(row);
    const double fx = shrinkX, fy = shrinkY;
    const Layer layer = canvas.layer();
    canvas.setLayer(Layer::Marker);
    canvas.setColour(colour);
    canvas.line(x, y - MarkerTop * fy, x, y - MarkerHead * fy);
    canvas.line(x - MarkerHalf * fx, y - MarkerHead * fy, x, y - MarkerTip * fy);
    canvas.line(x + MarkerHalf * fx, y - MarkerHead * fy, x, y - MarkerTip * fy);
    canvas.setLayer(layer);
}

} // namespace kvl
