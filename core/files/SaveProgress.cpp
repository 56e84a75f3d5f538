#include "files/SaveProgress.h"

#include "store/Names.h"
#include "store/RecordDate.h"
#include "store/Store.h"

namespace kvl {

double saveProgressMaximum(int version)
{
    switch (version) {
    case Version35:
        return 8512.001;
    case Version40:
        return 12608.001;
    default:
        return 16700.001;
    }
}

int saveProgressSteps(int version, int leqRows)
{
    int steps = leqRows + EventTable::rowCount;
    if (version == Version35)
        steps += ParamRawTable::size / 8; // 64 of the 514 entries are multiples of 8
    else
        steps += ParamBlockTable::size / 8;
    if (isVersion5Family(version))
        steps += HistoryTable::rowCount * (HistoryTable::fieldCount / 8);
    return steps;
}

QString saveProgressText(int value, double maximum)
{
    const int percent = int(double(value) * 100.0 / maximum);
    return QStringLiteral("Backup at ") + QString::number(percent) + QStringLiteral("%.");
}

SaveProgress::SaveProgress(int version)
    : m_maximum(saveProgressMaximum(version)), m_text(QStringLiteral("Saving at 00%."))
{
}

bool SaveProgress::step(qint64 nowMs)
{
    if (m_completed)
        return false;
    // A bar cannot go past its maximum; extra steps stay on the last one.
    m_value = std::min(m_value + 1, wholeMaximum());
    m_text = saveProgressText(m_value, m_maximum);
    if (m_value != wholeMaximum())
        return false;
    m_completed = true;
    m_completedAt = nowMs;
    m_text = QStringLiteral("Backup at 100%.");
    return true;
}

namespace {

QString nameDate(const qint16 *row)
{
    return twoDigitText(fieldOf(row, field::Day)) + QLatin1Char(' ') + Nom_Mois(fieldOf(row, field::Month)) +
           QLatin1Char(' ') + QString::number(2000 + fieldOf(row, field::Year));
}

} // namespace

std::optional<RowSpan> savedLeqSpan(const Store &store, int leqRows)
{
    leqRows = qBound(0, leqRows, LeqTable::rowCount);
    int first = 0, last = 0;
    for (int r = 1; r <= leqRows; ++r) {
        if (!isValidRecord(store.Leq_Records.row(r), RecordCheck::Stamp))
            continue;
        if (first == 0)
            first = r;
        last = r;
    }
    if (first == 0)
        return std::nullopt;
    return RowSpan{first, last};
}

QString defaultSaveName(const Store &store, int version, const RowSpan &span)
{
    const QString prefix =
        version == VersionKvl36 ? QStringLiteral("KVL 36 Data from ") : QStringLiteral("KVL 24-2 Data from ");
    return prefix + nameDate(store.Leq_Records.row(span.first)) + QStringLiteral(" to ") +
           nameDate(store.Leq_Records.row(span.last));
}

QString backupSaveName(const QDate &today)
{
    // Characters 1-2, 4-5 and 7-10 of the date as dd/mm/yyyy.
    return QStringLiteral("KVL 24-2 Backup : ") + today.toString(QStringLiteral("dd-MM-yyyy"));
}

QString saveFilter(int version)
{
    return version == VersionKvl36 ? QStringLiteral("KVL 36 (*.kvl)|*.kvl")
                                   : QStringLiteral("KVL 24-2 (*.kvl)|*.kvl");
}

} // namespace kvl
