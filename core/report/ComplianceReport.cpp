#include "report/ComplianceReport.h"

#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartState.h"
#include "charts/ChartTexts.h"
#include "charts/Thresholds.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "store/Messages.h"
#include "store/Names.h"
#include "tables/Period.h"
#include "tables/RecordedSpan.h"
#include "tables/TableLines.h"

#include <algorithm>

namespace kvl {

namespace {

// Page layout, in twips (1440 to the inch).
constexpr int Margin = 1134;       // 2 cm left and right
constexpr int HeaderTop = 567;     // header line
constexpr int HeaderRule = 850;    // rule under the header
constexpr int BodyTop = 1134;      // first line of the body
constexpr int FooterRuleUp = 900;  // rule above the footer, from the sheet's bottom
constexpr int FooterTextUp = 800;  // footer line, from the sheet's bottom
constexpr int BodyBottomUp = 1050; // last line of the body ends above this, from the bottom
constexpr int LineStep = 240;      // 9-point text
constexpr int SmallStep = 200;     // 8-point text (tables, lists)
constexpr int NoteStep = 170;      // 7-point footnote
constexpr int SectionGap = 200;    // before a section title
constexpr int TitlePoints = 14;
constexpr int SectionPoints = 11;
constexpr int TextPoints = 9;
constexpr int TablePoints = 8;
constexpr int NotePoints = 7;
constexpr int HeaderPoints = 8;
constexpr int NoteChars = 125; // 7-point characters on a line of the body
constexpr int TextChars = 100; // 9-point characters on a line of the body
// Summary table: the day column, then eleven figure columns, right-aligned.
constexpr int DayColumn = 1350;
constexpr int FigureColumn = 750;
// Exceedance list: right edges of its columns from the left margin.
constexpr int RunColumns[] = {2100, 4200, 5400, 6700, 8300, 9600};
// Diagrams: two to a page, each a caption line and the canvas at the
// picture box's proportions over the body's width.
constexpr int DiagramCaption = 260;
constexpr int DiagramGap = 300;
const Rgb RuleColour{128, 128, 128};

QString dayText(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString minuteText(Minute m)
{
    const QDate d = dateOf(m);
    const int inDay = int(m - d.toJulianDay() * MinutesPerDay);
    return dayText(d) + QLatin1Char(' ') + twoDigitText(inDay / 60) + QLatin1Char(':') +
           twoDigitText(inDay % 60);
}

QString periodText(const DateRange &p)
{
    if (p.from == p.to)
        return dayText(p.from);
    return dayText(p.from) + QStringLiteral(" to ") + dayText(p.to);
}

QStringList wrap(const QString &text, int maxChars)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > maxChars) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// Places lines down the pages, starting a page when the next block does not fit.
class Flow
{
public:
    explicit Flow(ReportDocument &doc)
        : m_doc(doc), m_width(paperWidthTwips(doc.paper)),
          m_bottom(paperHeightTwips(doc.paper) - BodyBottomUp)
    {
    }

    int left() const { return Margin; }
    int right() const { return m_width - Margin; }
    int width() const { return m_width - 2 * Margin; }
    int y() const { return m_y; }
    int room() const { return m_bottom - m_y; }

    void newPage()
    {
        m_doc.pages.append(ReportPage());
        m_y = BodyTop;
    }
    // Starts a page when less than `height` is left (or none is open).
    void need(int height)
    {
        if (m_doc.pages.isEmpty() || m_y + height > m_bottom)
            newPage();
    }
    ReportPage &page() { return m_doc.pages.last(); }
    void text(int x, const QString &text, int points, bool bold = false, Align align = Align::Left)
    {
        page().texts.append(ReportText{x, m_y, text, points, bold, align});
    }
    void advance(int height) { m_y += height; }
    void line(const QString &text, int points, int step, bool bold = false)
    {
        need(step);
        this->text(left(), text, points, bold);
        advance(step);
    }
    void rule() { page().rules.append(ReportRule{left(), m_y, right(), m_y, RuleColour}); }
    void section(const QString &title)
    {
        need(SectionGap + 2 * LineStep);
        advance(SectionGap);
        line(title, SectionPoints, LineStep + 60, true);
    }

private:
    ReportDocument &m_doc;
    int m_width, m_bottom;
    int m_y = BodyTop;
};

QString sourceText(const Store &store, const ReportSource &source, const DateRange &period)
{
    QString downloaded;
    const QList<ParamEntry> params = storeParams(store, period);
    if (!params.isEmpty() && params.last().dated)
        downloaded = QStringLiteral(", downloaded from the device on ") + minuteText(params.last().time);
    switch (source.kind) {
    case SourceKind::DataFile:
        return QStringLiteral("Data source: data file ") + source.name + downloaded;
    case SourceKind::Archive:
        return QStringLiteral("Data source: device archive ") + source.name;
    case SourceKind::Download:
        break;
    }
    return QStringLiteral("Data source: download") + downloaded;
}

// The door thresholds only where the device records its door.
QString valuesText(const ParamValues &v, bool door)
{
    auto level = [&v](int i) { return levelOf(v.levels[i][0], v.levels[i][1]); };
    const QString hours = QStringLiteral("; night from %1 h to %2 h")
                              .arg(twoDigitText(v.hourDayNight), twoDigitText(v.hourNightDay));
    if (!door)
        return QStringLiteral("day %1 dB, night %2 dB").arg(level(0)).arg(level(2)) + hours;
    return QStringLiteral("day %1 dB (door open %2 dB), night %3 dB (door open %4 dB)")
               .arg(level(0))
               .arg(level(1))
               .arg(level(2))
               .arg(level(3)) +
           hours;
}

void thresholdsSection(Flow &flow, const Store &store, const DateRange &period, const QStringList &notes)
{
    flow.section(QStringLiteral("Thresholds and switching hours"));
    const QList<ParamEntry> params = storeParams(store, period);
    const Minute start = minuteOf(period.from, 0, 0);
    const bool door = store.isVersion5Family();
    bool history = false;
    for (const ParamEntry &p : params) {
        if (p.record != QLatin1String("history"))
            continue;
        history = true;
        const QString when = p.time < start ? QStringLiteral("In force from ") + minuteText(p.time)
                                            : QStringLiteral("Changed on ") + minuteText(p.time);
        for (const QString &l : wrap(when + QStringLiteral(": ") + valuesText(p.values, door), TextChars))
            flow.line(l, TextPoints, LineStep);
    }
    if (!history) {
        const QString what =
            store.isVersion5Family()
                ? QStringLiteral("No dated parameter record; the device's current parameters: ")
                : QStringLiteral("The device's current parameters (this firmware keeps no history): ");
        for (const QString &l : wrap(what + valuesText(params.last().values, door), TextChars))
            flow.line(l, TextPoints, LineStep);
    }
    for (const QString &n : notes)
        for (const QString &l : wrap(QStringLiteral("Note: ") + n, TextChars))
            flow.line(l, TextPoints, LineStep);
}

QString figure(const LevelStats &s, int value)
{
    return s.count ? QString::number(value) : QStringLiteral("-");
}

QString laeq(const LevelStats &s)
{
    return s.count ? QString::number(s.laeq, 'f', 1) : QStringLiteral("-");
}

int eventCount(const GroupStats &g)
{
    int n = 0;
    for (int v : g.events)
        n += v;
    return n;
}

void summaryRow(Flow &flow, const QString &label, const QStringList &figures, bool bold)
{
    flow.need(SmallStep);
    flow.text(flow.left(), label, TablePoints, bold);
    int x = flow.left() + DayColumn;
    for (const QString &f : figures) {
        x += FigureColumn;
        flow.text(x, f, TablePoints, bold, Align::Right);
    }
    flow.advance(SmallStep);
}

// Two header lines over the figure columns.
const QStringList &summaryHeader(int line)
{
    static const QStringList top{QStringLiteral("LAeq"), QStringLiteral("LAeq"),    QStringLiteral("LAeq"),
                                 QStringLiteral("L10"),  QStringLiteral("L50"),     QStringLiteral("L90"),
                                 QStringLiteral("Lmax"), QStringLiteral("Minutes"), QStringLiteral("Runs"),
                                 QStringLiteral("Door"), QStringLiteral("Events")};
    static const QStringList bottom{QStringLiteral("whole"),
                                    QStringLiteral("day"),
                                    QString(),
                                    QString(),
                                    QString(),
                                    QString(),
                                    QString(),
                                    QStringLiteral("above"),
                                    QString(),
                                    QStringLiteral("opened"),
                                    QString()};
    static const QStringList nightBottom = [] {
        QStringList b = bottom;
        b[2] = QStringLiteral("night");
        return b;
    }();
    return line == 0 ? top : nightBottom;
}

// A group with a minute that had no threshold shows neither minutes nor runs.
QStringList groupFigures(const GroupStats &g, const LevelStats *dayPart, const LevelStats *nightPart,
                         int runs, bool door)
{
    const LevelStats none;
    const LevelStats &d = dayPart ? *dayPart : none;
    const LevelStats &n = nightPart ? *nightPart : none;
    const LevelStats &s = g.levels;
    const bool counted = g.minutesAbove >= 0;
    return {laeq(s),
            laeq(d),
            laeq(n),
            figure(s, s.l10),
            figure(s, s.l50),
            figure(s, s.l90),
            figure(s, s.lmax),
            counted ? QString::number(g.minutesAbove) : QStringLiteral("-"),
            counted ? QString::number(runs) : QStringLiteral("-"),
            door ? QString::number(g.doorOpenings) : QStringLiteral("-"),
            QString::number(eventCount(g))};
}

const GroupStats *findGroup(const QList<GroupStats> &groups, Minute start)
{
    for (const GroupStats &g : groups)
        if (g.start == start)
            return &g;
    return nullptr;
}

void summarySection(Flow &flow, const Summary &summary, const QList<ExceedanceRun> &runs,
                    const DateRange &period, bool door)
{
    flow.section(QStringLiteral("Figures per day (dB, stored 10-minute levels)"));
    // The column heads, again at the top of a page the table runs onto.
    auto heads = [&flow] {
        flow.need(3 * SmallStep);
        summaryRow(flow, QString(), summaryHeader(0), true);
        summaryRow(flow, QStringLiteral("Day"), summaryHeader(1), true);
        flow.rule();
        flow.advance(40);
    };
    heads();
    for (QDate d = period.from; d <= period.to; d = d.addDays(1)) {
        if (flow.room() < SmallStep) {
            flow.newPage();
            heads();
        }
        const Minute day0 = minuteOf(d, 0, 0);
        // The day part of the day and the night that begins on it.
        const LevelStats *dayPart = nullptr, *nightPart = nullptr;
        for (const GroupStats &p : summary.parts) {
            if (dateOf(p.start) != d)
                continue;
            (p.part == QLatin1String("night") ? nightPart : dayPart) = &p.levels;
        }
        int dayRuns = 0;
        for (const ExceedanceRun &r : runs)
            dayRuns += dateOf(r.start) == d ? 1 : 0;
        GroupStats empty;
        empty.minutesAbove = 0;
        const GroupStats *g = findGroup(summary.days, day0);
        const QString label =
            QLocale::c().dayName(d.dayOfWeek(), QLocale::ShortFormat) + QLatin1Char(' ') + dayText(d);
        summaryRow(flow, label, groupFigures(g ? *g : empty, dayPart, nightPart, dayRuns, door), false);
    }
    flow.rule();
    flow.advance(40);
    summaryRow(flow, QStringLiteral("Period"),
               groupFigures(summary.whole, nullptr, nullptr, int(runs.size()), door), true);
}

// Worded as kvl-report --help words the --summary figures.
const char *const Footnote =
    "LAeq = 10 log10 of the mean of 10^(L/10) over the stored 10-minute levels, one decimal: over the whole "
    "day, over its day part and over the night that begins on it, by the switching hours in force at each "
    "minute. L10, L50, L90 = the level reached or exceeded by 10, 50, 90 % of them, nearest rank: sorted "
    "highest first, the level at rank ceil(p/100 x n); Lmax the highest. A level belongs to the day and part "
    "of the last minute it measured. Minutes above = minutes whose level is strictly above the threshold in "
    "force (1-minute levels on 5.X and KVL 36, each minute of a 10-minute level on 3.5/4.0). Thresholds: on "
    "5.X and KVL 36 the parameter record and the door state in force at each minute, from all the file's "
    "records before it, so a figure never depends on the period asked; before the first parameter record or "
    "door event, the device's current parameters, door closed; on 3.5/4.0 the current parameters. Runs = "
    "runs of consecutive such minutes, by the day they start. Door opened = door openings; Events = events "
    "recorded. The device stores a 10-minute level only from 70 dB, so the figures describe the stored "
    "(loud) intervals, not the quiet hours.";

void footnote(Flow &flow)
{
    const QStringList lines = wrap(QString::fromLatin1(Footnote), NoteChars);
    flow.need(SectionGap + NoteStep * int(lines.size()));
    flow.advance(SectionGap);
    for (const QString &l : lines)
        flow.line(l, NotePoints, NoteStep);
}

// The first day of each diagram: every day, or every seventh day.
QList<QDate> diagramStarts(const DateRange &period, int *chartDays)
{
    const int days = int(period.from.daysTo(period.to)) + 1;
    *chartDays = days > DailyDiagramDays ? 7 : 1;
    QList<QDate> starts;
    for (QDate d = period.from; d <= period.to; d = d.addDays(*chartDays))
        starts << d;
    return starts;
}

void diagram(Flow &flow, const Store &store, Diagram which, const QString &caption, int height)
{
    flow.need(DiagramCaption + height);
    flow.text(flow.left(), caption, TablePoints, false);
    flow.advance(DiagramCaption);
    ReportChart chart;
    chart.x = flow.left();
    chart.y = flow.y();
    chart.width = flow.width();
    chart.height = height;
    redrawDiagram(chart.canvas, store, which, ChartState());
    flow.page().charts.append(chart);
    flow.advance(height + DiagramGap);
}

void diagramsSection(Flow &flow, Store &store, const DateRange &period, QStringList *notes)
{
    int chartDays = 1;
    const QList<QDate> starts = diagramStarts(period, &chartDays);
    const bool v5 = store.isVersion5Family();
    const int height = flow.width() * SmallHeightTwips / SmallWidthTwips;
    const ScheduleMessage collect = [notes](const QString &text) {
        const QString note = QStringLiteral("Leq diagrams: ") + text +
                             QStringLiteral(" (their threshold line shows the device's current parameters)");
        if (!notes->contains(note))
            notes->append(note);
    };
    flow.newPage();
    flow.line(chartDays == 1 ? QStringLiteral("Leq diagrams, one a day from midday to midday")
                             : QStringLiteral("Leq diagrams, one a week from midday to midday"),
              SectionPoints, LineStep + 60, true);
    flow.line(
        QStringLiteral(
            "Red: stored levels. Green: threshold in force. Blue: 70 dB, the device's recording limit."),
        TextPoints, LineStep + 60);
    for (const QDate &d : starts) {
        storeChartPeriod(store, ChartDate{d.day(), d.month(), d.year()}, chartDays);
        Periode_Graphique(store, store.leqRowsForVersion());
        store.Leq1_Count = store.Leq10_Count = 1;
        if (v5 && store.Period_First != 0 && store.Period_Last != 0)
            Separer_Leq1_Leq10(store);
        Analyse_Seuils(store, chartDays, collect);
        const QString when = chartDateLine(store);
        if (!v5) {
            diagram(flow, store, Diagram::Leq10, QStringLiteral("Leq: ") + when, height);
            continue;
        }
        // A day's two diagrams stay on one page.
        flow.need(2 * (DiagramCaption + height) + DiagramGap);
        diagram(flow, store, Diagram::Leq10, QStringLiteral("Leq10: ") + when, height);
        diagram(flow, store, Diagram::Leq1, QStringLiteral("Leq1: ") + when, height);
    }
}

QString doorText(const Store &store, const ExceedanceRun &run)
{
    if (!store.isVersion5Family())
        return QStringLiteral("not recorded");
    return run.doorOpen ? QStringLiteral("yes") : QStringLiteral("no");
}

void runsSection(Flow &flow, const Store &store, const QList<ExceedanceRun> &runs, bool counted)
{
    flow.newPage();
    flow.line(QStringLiteral("Runs of minutes above the threshold in force"), SectionPoints, LineStep + 60,
              true);
    if (!counted)
        for (const QString &l :
             wrap(QStringLiteral("The parameters in force give no usable threshold for some "
                                 "minutes of the period: those minutes are not counted."),
                  TextChars))
            flow.line(l, TextPoints, LineStep);
    if (runs.isEmpty()) {
        flow.line(QStringLiteral("No minute above the threshold in force in the period."), TextPoints,
                  LineStep);
        return;
    }
    const QStringList header{QStringLiteral("Start"),     QStringLiteral("End"),
                             QStringLiteral("Duration"),  QStringLiteral("Highest"),
                             QStringLiteral("Threshold"), QStringLiteral("Door open")};
    auto row = [&flow](const QStringList &cells, bool bold) {
        flow.need(SmallStep);
        for (int c = 0; c < cells.size(); ++c)
            flow.text(flow.left() + RunColumns[c], cells[c], TablePoints, bold, Align::Right);
        flow.advance(SmallStep);
    };
    row(header, true);
    for (const ExceedanceRun &r : runs) {
        QStringList thresholds;
        for (int t : r.thresholds)
            thresholds << QString::number(t);
        if (flow.room() < SmallStep)
            row(header, true);
        row({minuteText(r.start), minuteText(r.end), QStringLiteral("%1 min").arg(r.minutes),
             QStringLiteral("%1 dB").arg(r.highest),
             thresholds.join(QStringLiteral(" / ")) + QStringLiteral(" dB"), doorText(store, r)},
            false);
    }
}

void eventsSection(Flow &flow, Store &store, const DateRange &period)
{
    flow.section(QStringLiteral("Events"));
    store.Start_Day = twoDigitText(period.from.day());
    store.Start_Month = twoDigitText(period.from.month());
    store.Start_Year = QString::number(period.from.year());
    store.End_Day = twoDigitText(period.to.day());
    store.End_Month = twoDigitText(period.to.month());
    store.End_Year = QString::number(period.to.year());
    Periode_Evenements(store);
    if (store.Period_First == 0 || store.Period_Last == 0) {
        flow.line(messageText(Message::EmptyEventTable).trimmed(), TextPoints, LineStep);
        return;
    }
    for (const QString &l : eventTableLines(store))
        flow.line(l, TablePoints, SmallStep);
}

void headersAndFooters(ReportDocument &doc, const QString &device, const ReportRequest &request)
{
    const int width = paperWidthTwips(doc.paper), height = paperHeightTwips(doc.paper);
    const QString program = QStringLiteral("ORLIN Analysis Software ") + request.version;
    const QString generated =
        QStringLiteral("Generated ") + request.generated.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    const int pages = int(doc.pages.size());
    for (int i = 0; i < pages; ++i) {
        ReportPage &p = doc.pages[i];
        p.texts.prepend(ReportText{width - Margin, HeaderTop,
                                   QStringLiteral("Period: ") + periodText(request.period), HeaderPoints,
                                   false, Align::Right});
        p.texts.prepend(ReportText{Margin, HeaderTop, device, HeaderPoints, false, Align::Left});
        p.rules.append(ReportRule{Margin, HeaderRule, width - Margin, HeaderRule, RuleColour});
        p.rules.append(
            ReportRule{Margin, height - FooterRuleUp, width - Margin, height - FooterRuleUp, RuleColour});
        const int y = height - FooterTextUp;
        p.texts.append(ReportText{Margin, y, program, HeaderPoints, false, Align::Left});
        p.texts.append(ReportText{width / 2, y, generated, HeaderPoints, false, Align::Centre});
        p.texts.append(ReportText{width - Margin, y, QStringLiteral("page %1 of %2").arg(i + 1).arg(pages),
                                  HeaderPoints, false, Align::Right});
    }
}

void firstLines(Flow &flow, const Store &store, const ReportRequest &request, const QString &device)
{
    const DateRange &p = request.period;
    flow.newPage();
    flow.line(QStringLiteral("Sound level report"), TitlePoints, LineStep + 160, true);
    flow.line(QStringLiteral("Device: ") + device, TextPoints, LineStep);
    const int days = int(p.from.daysTo(p.to)) + 1;
    flow.line(QStringLiteral("Period: %1 %2 to %3 %4 (%5 day%6)")
                  .arg(Nom_Jour(dateText(p.from.day(), p.from.month(), p.from.year())), dayText(p.from),
                       Nom_Jour(dateText(p.to.day(), p.to.month(), p.to.year())), dayText(p.to))
                  .arg(days)
                  .arg(days == 1 ? QString() : QStringLiteral("s")),
              TextPoints, LineStep);
    for (const QString &l : wrap(sourceText(store, request.source, p), TextChars))
        flow.line(l, TextPoints, LineStep);
}

} // namespace

PeriodCheck reportPeriod(ReportSpan span, const QDate &start, const QDate &end, DateRange *period)
{
    if (!start.isValid() || (span == ReportSpan::FromTo && !end.isValid()))
        return PeriodCheck::NoDate;
    DateRange r{start, start};
    switch (span) {
    case ReportSpan::Day:
        break;
    case ReportSpan::Week:
        r.to = start.addDays(6);
        break;
    case ReportSpan::Month: {
        // To the day before the same day of the next month; a month without
        // that day (31 January) runs to its last day.
        const QDate next = start.addMonths(1);
        r.to = next.day() == start.day() ? next.addDays(-1) : next;
        break;
    }
    case ReportSpan::FromTo:
        r.to = end;
        break;
    }
    if (r.to < r.from)
        return PeriodCheck::EndBeforeStart;
    if (r.from.daysTo(r.to) + 1 > MaxReportDays)
        return PeriodCheck::TooLong;
    *period = r;
    return PeriodCheck::Ok;
}

QString reportFileName(const Store &store, const DateRange &period)
{
    QString name = QStringLiteral("KVL");
    if (!store.Serial_Number.isEmpty())
        name += QLatin1Char('-') + store.Serial_Number;
    const QString iso = QStringLiteral("yyyy-MM-dd");
    name += QLatin1Char('_') + period.from.toString(iso);
    if (period.to != period.from)
        name += QLatin1Char('_') + period.to.toString(iso);
    return name + QStringLiteral(".pdf");
}

ReportDocument buildComplianceReport(Store &store, const ReportRequest &request)
{
    ReportDocument doc;
    doc.paper = request.paper;
    const DateRange &period = request.period;
    Lire_Numero_Serie(store);
    const QString device = chartHeader(store);
    doc.title = QStringLiteral("Sound level report ") + periodText(period);
    Flow flow(doc);
    firstLines(flow, store, request, device);

    // The figures and runs as kvl-report --summary finds them: thresholds and
    // parts from the whole file, every level (one may end after the period).
    const QList<LeqInterval> intervals = storeIntervals(store, DateRange());
    const FileThresholds thresholds(store);
    const Summary summary = fileSummary(store, intervals, thresholds, period);
    if (isEmpty(summary)) {
        flow.advance(SectionGap);
        flow.line(QStringLiteral("No data"), SectionPoints, LineStep + 60, true);
        flow.line(QStringLiteral("The device stored no level and no event in this period."), TextPoints,
                  LineStep);
        flow.line(recordedDataText(store), TextPoints, LineStep);
        headersAndFooters(doc, device, request);
        return doc;
    }

    QStringList notes = scheduleNotes(summary, thresholds);
    const bool counted = summary.whole.minutesAbove >= 0;
    const QList<ExceedanceRun> runs = exceedanceRuns(
        store, intervals, [&thresholds](Minute m) { return thresholds.at(m); }, period);

    // The diagrams' schedule notes belong on the first page too: lay the
    // diagrams out first, in a document of their own.
    ReportDocument diagrams;
    diagrams.paper = doc.paper;
    Flow diagramFlow(diagrams);
    diagramsSection(diagramFlow, store, period, &notes);

    thresholdsSection(flow, store, period, notes);
    summarySection(flow, summary, runs, period, store.isVersion5Family());
    footnote(flow);
    doc.pages += diagrams.pages;
    runsSection(flow, store, runs, counted);
    eventsSection(flow, store, period);
    headersAndFooters(doc, device, request);
    return doc;
}

} // namespace kvl
