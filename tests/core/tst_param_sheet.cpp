// Texts of the parameter sheet: loaded values, history records and the KVL 36 bands.

#include "TableStores.h"
#include "TestCore.h"
#include "params/ParamSheet.h"
#include "store/Store.h"

#include <QtTest>

#include <memory>

using namespace kvl;

namespace {

using Records = QList<QList<int>>; // day, month, year, hour, minute, day level

std::unique_ptr<Store> makeStore(int version, const Records &records = {})
{
    auto store = std::make_unique<Store>();
    test::setParamRecords(*store, version, records);
    return store;
}

// Every text a sheet sets, "field=text"; null texts leave their label as it is.
QStringList sheetLines(const SheetTexts &t)
{
    const QStringList names =
        QStringLiteral("firmware serialNumber leqDay leqDayOpen leqNight leqNightOpen "
                       "publicLevel sensorLevel dayToNight nightToDay regulation analysis "
                       "source attack release outputReduction lineRegulation filterTitle")
            .split(QLatin1Char(' '));
    const QString texts[] = {t.firmware,        t.serialNumber,   t.leqDay,      t.leqDayOpen, t.leqNight,
                             t.leqNightOpen,    t.publicLevel,    t.sensorLevel, t.dayToNight, t.nightToDay,
                             t.regulation,      t.analysis,       t.source,      t.attack,     t.release,
                             t.outputReduction, t.lineRegulation, t.filterTitle};
    QStringList out;
    auto add = [&out](const QString &field, const QString &text) {
        if (!text.isNull())
            out << field + QLatin1Char('=') + text;
    };
    for (int i = 0; i < names.size(); ++i)
        add(names[i], texts[i]);
    for (std::size_t band = 0; band < 7; ++band) {
        add(QStringLiteral("bandCaption%1").arg(band), t.bandCaptions[band]);
        add(QStringLiteral("bandValue%1").arg(band), t.bandValues[band]);
    }
    add(QStringLiteral("correlation"), t.correlation);
    return out;
}

} // namespace

class TestParamSheet : public QObject
{
    Q_OBJECT

private slots:
    void singleTexts()
    {
        // Every text routine over the values around its boundaries, one value a line.
        QStringList lines;
        for (int v : {0, 1, 4, 8, 9, 10, 12, 13, 15, 16, 26, 30, 31, 49, 50, 63, 64, 84, 99, 255}) {
            const Measurement m = measurementOf(v, v);
            lines << (QStringList() << QString::number(v) << levelText(0, v) << levelText(1, v) << hourText(v)
                                    << outputReductionText(50, v) << outputReductionText(49, v)
                                    << lineRegulationText(0, v) << lineRegulationText(1, v) << attackText(v)
                                    << releaseText(v) << sourceText(m.source, m.sourceWeighting)
                                    << analysisText(m.analysis, false) << analysisText(m.analysis, true)
                                    << attenuationText(v) << bandLevelText(v) << correlationText(v))
                         .join(QStringLiteral(" | "));
        }
        KVL_COMPARE_REF("sheets.txt", "single texts", lines);
    }

    void loadedSheet_data()
    {
        test::addDataRows(QStringLiteral("rows/param_sheet.txt"), QStringLiteral("loaded"));
    }

    void loadedSheet()
    {
        QFETCH(QStringList, c);
        const QList<int> elements = test::numbers(c[2]);
        auto store = makeStore(c[1].toInt());
        ParamBlockTable &b = store->Param_Block;
        // Distinct values show which element each label reads.
        using namespace block;
        const int at[] = {FirmwareMajor, FirmwareMinor,  RegulationMode,  Analysis, HourDayNight,
                          HourNightDay,  OutputHalfStep, OutputReduction, Attack,   Release};
        const QList<int> values = elements + QList<int>{22, 7, 50, 4, 3, 6};
        for (int i = 0; i < 10; ++i)
            b[at[i]] = qint16(values[i]);
        // Day, day open, night, night open, line, public and sensor levels.
        const int levels[7] = {101, 102, 93, 94, 55, 106, 107};
        for (int k = 0; k < 7; ++k) {
            b[LeqDay + 2 * k] = qint16(levels[k] / 100);
            b[LeqDay + 2 * k + 1] = qint16(levels[k] % 100);
        }
        // Every second element: 63 Hz .. 4 kHz on the KVL 24-2; 125 Hz .. 4 kHz,
        // L/C and 63 Hz on the KVL 36.
        const int bands[8] = {1, 84, 3, 4, 5, 6, 33, 7};
        for (int i = 0; i < 8; ++i)
            b[FirstBand + 2 * i] = qint16(bands[i]);
        const SheetTexts t = loadSheet(*store);
        KVL_COMPARE_REF("sheets.txt", QTest::currentDataTag(), sheetLines(t));
    }

    void periodLists_data()
    {
        test::addDataRows(QStringLiteral("rows/param_sheet.txt"), QStringLiteral("periods"));
    }

    void periodLists()
    {
        QFETCH(QStringList, c);
        Records records;
        for (const QString &r : test::items(c[2]))
            records << test::numbers(r);
        auto store = makeStore(c[1].toInt(), records);
        const PeriodList list = buildPeriodList(*store);
        // The selector's texts, the caption before a choice, the valid records,
        // then each entry's row, rank, caption and day level; one entry past
        // the end shows nothing.
        QStringList lines = list.texts();
        lines << list.currentPeriodText << list.dateCaption << QString::number(list.validRows.size());
        for (int i = 0; i <= list.entries.size(); ++i) {
            const PeriodEntry entry = list.entries.value(i);
            const SheetTexts sheet = periodSheet(*store, list, i);
            lines << QStringLiteral("row %1 rank %2 labels %3: %4 | %5")
                         .arg(entry.row)
                         .arg(entry.rank)
                         .arg(sheetLines(sheet).size())
                         .arg(periodDateCaption(list, i), sheet.leqDay);
        }
        KVL_COMPARE_REF("sheets.txt", QTest::currentDataTag(), lines);
    }

    void periodValuesFromRecord()
    {
        auto store = makeStore(5, {{2, 2, 26, 10, 0, 101}});
        HistoryTable &t = store->Param_History;
        // Distinct values show which field each label reads.
        for (int f = history::Source; f <= HistoryFields; ++f)
            t(1, f) = qint16(f % 16);
        t(1, history::OutputHalfStep) = 50;
        // Captions, firmware and serial number stay as loaded (absent from the lines).
        const PeriodList list = buildPeriodList(*store);
        t(1, history::Analysis) = 12 + 64; // A weighted, no card bit, regulation normal
        KVL_COMPARE_REF("sheets.txt", "record, normal", sheetLines(periodSheet(*store, list, 0)));
        t(1, history::Analysis) = 16 + 8;
        KVL_COMPARE_REF("sheets.txt", "record, advanced", sheetLines(periodSheet(*store, list, 0)));
    }

    void kvl36BandRing()
    {
        // Per newest ring entry N and record count: each selector entry's rank,
        // its ring entry and the band values and L/C it shows.
        QStringList lines;
        for (const auto &[newest, records] :
             {std::pair{5, 3}, {1, 3}, {12, 23}, {22, 3}, {5, 30}, {0, 2}, {23, 2}}) {
            auto store = makeStore(70, test::januaryRecords(records, 60));
            ParamBlockTable &b = store->Param_Block;
            b[block::BandRingNewestUnits] = qint16(newest % 10);
            b[block::BandRingNewestTens] = qint16(newest / 10);
            // Ring entry e holds level e in all eight of its elements; the
            // elements beyond the ring would read as an ordinary level.
            const int ringEnd = block::BandRingFirst + block::BandRingEntries * block::BandRingEntrySize;
            for (int i = block::BandRingFirst; i < ParamBlockSize; ++i)
                b[i] = qint16(i < ringEnd ? (i - block::BandRingFirst) / block::BandRingEntrySize : 40);
            const PeriodList list = buildPeriodList(*store);
            for (int index = 0; index < list.entries.size(); ++index) {
                const SheetTexts s = periodSheet(*store, list, index);
                const int rank = list.entries[index].rank;
                lines << QStringLiteral("N %1 rank %2: entry %3 | %4 | L/C %5")
                             .arg(newest)
                             .arg(rank)
                             .arg(bandRingEntry(b, rank))
                             .arg(
                                 QStringList(s.bandValues.begin(), s.bandValues.end()).join(QLatin1Char(',')),
                                 s.correlation);
            }
        }
        KVL_COMPARE_REF("sheets.txt", "band ring", lines);
    }
};

QTEST_APPLESS_MAIN(TestParamSheet)
#include "tst_param_sheet.moc"
