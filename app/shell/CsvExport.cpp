#include "shell/CsvExport.h"

#include "files/FileWrite.h"
#include "shell/Seams.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/Period.h"

#include <QAction>
#include <QDate>
#include <QWidget>

namespace kvl {

namespace {

QString isoDay(const QDate &day)
{
    return day.isValid() ? day.toString(Qt::ISODate) : QString();
}

} // namespace

void addCsvExport(QWidget *list, const QString &proposedName, bool hasRows, std::function<QByteArray()> csv)
{
    auto *action = new QAction(QStringLiteral("Export CSV..."), list);
    action->setObjectName(QStringLiteral("Export_CSV"));
    action->setEnabled(hasRows);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    list->addAction(action);
    QObject::connect(action, &QAction::triggered, list,
                     [list, proposedName, csv] { exportCsv(list->window(), proposedName, csv()); });
}

void addLeqCsvExport(QWidget *list, const Store &store, LeqSeries series)
{
    const QList<LeqInterval> rows = listIntervals(store, series);
    addCsvExport(list, csvFileName(seriesName(series), store), !rows.isEmpty(),
                 [rows] { return leqCsv(rows); });
}

void addEventsCsvExport(QWidget *list, const Store &store, EventList labels)
{
    const PeriodRows r = labels == EventList::Table
                             ? store.periodRows(EventTable::rowCount)
                             : scanPeriod(store.Event_Records, EventTable::rowCount, storedPeriod(store));
    const QList<EventEntry> rows =
        r.isEmpty() ? QList<EventEntry>()
                    : eventEntries(store.Event_Records, r.first, r.last, store.Device_Version, labels);
    addCsvExport(list, csvFileName(QStringLiteral("Events"), store), !rows.isEmpty(),
                 [rows] { return eventCsv(rows); });
}

void addParamsCsvExport(QWidget *sheet, const Store &store)
{
    addCsvExport(sheet, QStringLiteral("Parameters ") + store.Serial_Number + QStringLiteral(".csv"), true,
                 [rows = storeParams(store, DateRange())] { return paramCsv(rows); });
}

bool exportCsv(QWidget *parent, const QString &proposedName, const QByteArray &csv)
{
    QString proposed = proposedName;
    for (;;) {
        const std::optional<QString> path =
            dialogs().saveFile(parent, proposed, QStringLiteral("CSV (*.csv)|*.csv"), 1);
        if (!path || path->isEmpty())
            return false;
        const FileWrite written = writeFileAtomically(*path, csv);
        if (written.ok())
            return true;
        // Nothing was replaced; the user may choose another place.
        showMessage(writeFailureText(*path, written), QStringLiteral("Export CSV"), MsgIcon::Critical);
        proposed = *path;
    }
}

QString csvFileName(const QString &what, const Store &store)
{
    const QString start = isoDay(periodStart(store));
    const QString end = isoDay(periodEnd(store));
    QString name = what;
    if (!start.isEmpty())
        name += QLatin1Char(' ') + start;
    if (!end.isEmpty() && end != start)
        name += QStringLiteral(" to ") + end;
    return name + QStringLiteral(".csv");
}

} // namespace kvl
