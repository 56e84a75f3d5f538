#include "store/Store.h"

namespace kvl {

namespace {

struct ViewName
{
    RequestedView view;
    const char16_t *text;
};

constexpr ViewName ViewNames[] = {
    {RequestedView::LeqChart, u"Graphique Leq"},
    {RequestedView::LeqTable, u"Tableau Leq"},
    {RequestedView::EventsTable, u"Tableau Evénements"},
    {RequestedView::Parameters, u"Tableau Paramètres"},
    {RequestedView::Report, u"Rapport"},
};

} // namespace

QString viewText(RequestedView view)
{
    for (const ViewName &name : ViewNames)
        if (name.view == view)
            return QString::fromUtf16(name.text);
    return QString();
}

RequestedView viewOf(const QString &text)
{
    for (const ViewName &name : ViewNames)
        if (text == QString::fromUtf16(name.text))
            return name.view;
    return RequestedView::None;
}

Store::Store()
{
    initialise();
}

void Store::initialise()
{
    Com_Port = 0;
    Requested_View = RequestedView::None;
    Device_Version = Version5X;
    Chart_Days = 1;
    for (auto &day : Chart_Dates)
        for (auto &text : day)
            text = QStringLiteral("0");
    Seuils_Prets = false;
}

PeriodRows rowsWithin(int first, int last, int rowCount)
{
    if (first < 1 || last < 1 || first > rowCount)
        return PeriodRows();
    const PeriodRows rows{first, qMin(last, rowCount)};
    return rows.isEmpty() ? PeriodRows() : rows;
}

void setDefaultThresholds(Store &s)
{
    const ParamBlockTable &p = s.Param_Block;
    s.Default_Leq_Day = QString::number(blockLevel(p, block::LeqDay));
    s.Default_Leq_Night = QString::number(blockLevel(p, block::LeqNight));
    s.Default_Hour_Day_Night = QString::number(p[block::HourDayNight]);
    s.Default_Hour_Night_Day = QString::number(p[block::HourNightDay]);
}

void rebuildParamBlockFromRaw(Store &s)
{
    s.Param_Block.fill(255);
    for (int k = 0; k < block::RawCopyCount; ++k)
        s.Param_Block[block::RawCopyFirst + k] = s.Param_Raw[k];
    s.Param_Block[block::Analysis] = s.Param_Raw[block::RawCopyCount];
    s.Param_Block[block::Source] = s.Param_Raw[block::RawCopyCount + 1];
}

} // namespace kvl
