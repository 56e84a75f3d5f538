#pragma once

// Progress of a data file save: the bar's range by version, the steps a save
// makes, the percentage text and the completion hold.

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace kvl {

struct Store;

// Maximum of the save bar for a version: 8512.001 (3), 12608.001 (4),
// 16700.001 (5 and 70).
double saveProgressMaximum(int version);

// Progress steps the save makes while writing a version's file: one per Leq
// and event row, one per 8 parameter entries, one per 8 history fields.
int saveProgressSteps(int version, int leqRows);

// "Backup at 49%." for a value and maximum; the percentage is cut, not rounded.
QString saveProgressText(int value, double maximum);

// The state of the save progress window, one step at a time.
class SaveProgress
{
public:
    static constexpr qint64 CompletionHoldMs = 1500;

    explicit SaveProgress(int version);

    double maximum() const { return m_maximum; }
    int wholeMaximum() const { return int(m_maximum); }
    int value() const { return m_value; }
    // Once complete, the bar stays full.
    void setValue(int value)
    {
        if (!m_completed)
            m_value = qBound(0, value, wholeMaximum());
    }

    // Progression_Sauvegarde: one step. Returns true on the step that fills
    // the bar, when the completion report starts (at nowMs on a monotonic
    // clock); later steps change nothing.
    bool step(qint64 nowMs);

    bool completed() const { return m_completed; }
    QString progressionText() const { return m_text; }
    // True once the completion report has been shown long enough.
    bool holdOver(qint64 nowMs) const { return m_completed && nowMs - m_completedAt >= CompletionHoldMs; }

private:
    double m_maximum;
    int m_value = 0;
    bool m_completed = false;
    qint64 m_completedAt = 0;
    QString m_text;
};

// First and last Leq rows (1..leqRows) whose stamp the store counts valid
// (isValidRecord, stamp only). Nothing when none is.
struct RowSpan
{
    int first;
    int last;
};
std::optional<RowSpan> savedLeqSpan(const Store &store, int leqRows);

// Name proposed by the save dialog: "KVL 24-2 Data from 05   March    2008
// to ..." from the first and last valid Leq rows.
QString defaultSaveName(const Store &store, int version, const RowSpan &span);

// Name proposed after a failed write: "KVL 24-2 Backup : dd-mm-yyyy".
QString backupSaveName(const QDate &today);

// Save dialog filter of a version.
QString saveFilter(int version);

} // namespace kvl
