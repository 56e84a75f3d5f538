#include "link/Decode.h"

#include "store/RecordDate.h"
#include "store/Store.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kvl {

namespace {

inline bool cancelled(const Store &s)
{
    return s.Cancel_Flag;
}

inline void step(const ProgressFn &progress)
{
    if (progress)
        progress();
}

// Decodes `rows` records of `Fields` bytes from `src` into a record table.
// rawFrom..rawTo (1-based fields) are kept raw; everything else is BCD.
// `every` paces the progress calls (before the row whose number is a multiple).
template <typename Table>
bool decodeRows(Store &s, Table &table, const uchar *src, int rows, int rawFrom, int rawTo, int every,
                const ProgressFn &progress)
{
    for (int r = 1; r <= rows; ++r) {
        if (r % every == 0)
            step(progress);
        qint16 *row = table.row(r);
        const uchar *in = src + std::size_t(r - 1) * Table::fieldCount;
        for (int f = 1; f <= Table::fieldCount; ++f) {
            const int b = in[f - 1];
            row[f - 1] = qint16((f >= rawFrom && f <= rawTo) ? b : bcd(b));
            if (cancelled(s))
                return false;
        }
    }
    return true;
}

bool decodeParamBlock(Store &s, const uchar *src, const ProgressFn &progress)
{
    for (int i = 0; i < ParamBlockTable::size; ++i) {
        if (i % 512 == 0)
            step(progress);
        // The lower part of the parameter area holds raw bytes.
        s.Param_Block[i] = qint16(i < block::FirstBcd ? src[i] : bcd(src[i]));
        if (cancelled(s))
            return false;
    }
    return true;
}

bool decodeParamRaw35(Store &s, const uchar *src, const ProgressFn &progress)
{
    for (int i = 0; i < ParamRawTable::size; ++i) {
        if (i % 512 == 0)
            step(progress);
        s.Param_Raw[i] = qint16(i < block::RawCopyCount ? bcd(src[i]) : src[i]);
        if (cancelled(s))
            return false;
    }
    // Filling the block counts a progress step every 512 elements.
    for (int i = 0; i < ParamBlockTable::size; ++i) {
        if (i % 512 == 0)
            step(progress);
        if (cancelled(s))
            return false;
    }
    rebuildParamBlockFromRaw(s);
    return true;
}

template <typename Table> void validate(Table &table, int rows, RecordCheck check)
{
    for (int r = 1; r <= rows; ++r) {
        qint16 *row = table.row(r);
        if (!isValidRecord(row, check))
            std::fill(row, row + Table::fieldCount, qint16(255));
    }
}

// The progress calls of five key passes, one per stamp field, that the
// filing bar's range counts on.
// Returns false when cancelled.
bool sortProgress(Store &s, int rows, const ProgressFn &progress)
{
    for (int pass = 1; pass <= 5; ++pass) {
        for (int i = 1; i <= rows - 1; ++i) {
            if (cancelled(s))
                return false;
            if (i % 512 == 0)
                step(progress);
        }
        if (cancelled(s))
            return false;
        step(progress);
    }
    return !cancelled(s);
}

// Chronological order by year, month, day, hour, minute; equal stamps keep
// their table order, invalid rows (all 255) end up last.
template <typename Table> void sortRows(Table &table, int rows)
{
    constexpr int F = Table::fieldCount;
    std::vector<std::uint64_t> keys(static_cast<std::size_t>(rows));
    for (int r = 1; r <= rows; ++r) {
        const qint16 *row = table.row(r);
        auto key = [row](int f) { return std::uint64_t(quint8(fieldOf(row, f))); };
        const std::uint64_t stamp = (key(field::Year) << 32) | (key(field::Month) << 24) |
                                    (key(field::Day) << 16) | (key(field::Hour) << 8) | key(field::Minute);
        // The row number in the low bits keeps equal stamps in table order.
        keys[std::size_t(r - 1)] = (stamp << 14) | std::uint64_t(r - 1);
    }
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    std::sort(keys.begin(), keys.end());
    std::vector<qint16> copy(table.row(1), table.row(1) + std::size_t(rows) * F);
    for (int r = 1; r <= rows; ++r) {
        const std::size_t from = std::size_t(keys[std::size_t(r - 1)] & 0x3FFF);
        std::copy_n(copy.data() + from * F, F, table.row(r));
    }
}

} // namespace

int imageSizeForVersion(int version)
{
    // Firmware 3.5: the parameter answer is stored after the image.
    const int size = versionLayout(version).imageSize;
    return version == Version35 ? size + ParamAnswerSize : size;
}

bool decodeImage(Store &s, const QByteArray &image, const ProgressFn &progress)
{
    const int version = s.Device_Version;
    const int size = imageSizeForVersion(version);
    if (size == 0 || image.size() < size)
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(image.constData());

    const VersionLayout layout = versionLayout(version);
    if (!decodeRows(s, s.Leq_Records, bytes, layout.leqRows, 0, -1, 512, progress))
        return false;
    if (!decodeRows(s, s.Event_Records, bytes + layout.eventArea, EventTable::rowCount, field::CodeA,
                    field::CodeB, 512, progress))
        return false;
    if (version == Version35)
        return decodeParamRaw35(s, bytes + layout.imageSize, progress);
    if (layout.historyArea &&
        !decodeRows(s, s.Param_History, bytes + layout.historyArea, HistoryTable::rowCount, history::Analysis,
                    history::Source, 85, progress))
        return false;
    return decodeParamBlock(s, bytes + layout.paramArea, progress);
}

void Tri_Leq(Store &s, const ProgressFn &progress)
{
    s.Leq_Count = leqRows(s.Device_Version);
    validate(s.Leq_Records, s.Leq_Count, RecordCheck::StampAndValues);
    if (sortProgress(s, s.Leq_Count, progress))
        sortRows(s.Leq_Records, s.Leq_Count);
}

void Tri_Evenements(Store &s, const ProgressFn &progress)
{
    validate(s.Event_Records, EventTable::rowCount, RecordCheck::StampAndValues);
    if (sortProgress(s, EventTable::rowCount, progress))
        sortRows(s.Event_Records, EventTable::rowCount);
}

void Tri_Historique(Store &s, const ProgressFn &progress)
{
    validate(s.Param_History, HistoryTable::rowCount, RecordCheck::Stamp);
    if (sortProgress(s, HistoryTable::rowCount, progress))
        sortRows(s.Param_History, HistoryTable::rowCount);
}

} // namespace kvl
