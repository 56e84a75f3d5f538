// Texts of the parameter sheet: loaded values, history records and the KVL 36 bands.

#include "TestSupport.h"
#include "params/ParamSheet.h"
#include "store/Store.h"
#include "tables/Firmware.h"

#include <QtTest>

#include <memory>

using namespace kvl;

namespace {

std::unique_ptr<Store> makeStore(int version)
{
    auto store = std::make_unique<Store>();
    store->Device_Version = qint16(version);
    store->Param_History.fill(255);
    store->Transfer_Date = QStringLiteral("06/12/2026");
    store->Transfer_Time = QStringLiteral("14:05:33");
    return store;
}

// A parameter record dated d/m/(2000+y) h:mi whose day level is `level` dB.
void setRecord(Store &s, int row, int d, int m, int y, int h, int mi, int level = 90)
{
    HistoryTable &t = s.Param_History;
    for (int f = 1; f <= 48; ++f)
        t(row, f) = 0;
    t(row, 1) = qint16(mi);
    t(row, 2) = qint16(h);
    t(row, 3) = qint16(d);
    t(row, 5) = qint16(m);
    t(row, 6) = qint16(y);
    t(row, 29) = qint16(level / 100);
    t(row, 30) = qint16(level % 100);
}

// Every label of a sheet, "name=text".
QStringList sheetLines(const SheetTexts &t)
{
    QStringList out;
    for (const auto &[label, text] : t.labels())
        out << label + QLatin1Char('=') + text;
    return out;
}

// The text the sheet gives a label, by the label's name.
QString labelOf(const SheetTexts &t, const QString &name)
{
    for (const auto &[label, text] : t.labels())
        if (label == name)
            return text;
    return QStringLiteral("<none>");
}

} // namespace

class TestParamSheet : public QObject
{
    Q_OBJECT

private slots:
    void singleTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("level 1,5") << levelText(1, 5) << "105";
        QTest::newRow("level 0,9") << levelText(0, 9) << "9";
        QTest::newRow("level 0,85") << levelText(0, 85) << "85";
        QTest::newRow("hour 0") << hourText(0) << "00";
        QTest::newRow("hour 9") << hourText(9) << "09";
        QTest::newRow("reduction 50,3") << outputReductionText(50, 3) << "03.5";
        QTest::newRow("reduction 50,12") << outputReductionText(50, 12) << "12.5";
        QTest::newRow("reduction 49,9") << outputReductionText(49, 9) << "09";
        QTest::newRow("reduction 0,12") << outputReductionText(0, 12) << "12";
        QTest::newRow("line 64 capped") << lineRegulationText(0, 64) << "63";
        QTest::newRow("line 63") << lineRegulationText(0, 63) << "63";
        QTest::newRow("line 62") << lineRegulationText(0, 62) << "62";
        QTest::newRow("line 1,0 capped") << lineRegulationText(1, 0) << "63";
        QTest::newRow("attack 0") << attackText(0) << "250 ms for 10 dB.";
        QTest::newRow("attack 7") << attackText(7) << "6 s for 10 dB.";
        QTest::newRow("attack 10 masked") << attackText(10) << "1 s for 10 dB.";
        QTest::newRow("release 4") << releaseText(4) << "1.5 s for 10 dB.";
        QTest::newRow("release 255 masked") << releaseText(255) << "4 s for 10 dB.";
        QTest::newRow("source line A") << sourceText(13) << "Source : Line, A Weighted.";
        QTest::newRow("source sensor M") << sourceText(8) << "Source : Sensor, M Weighted.";
        QTest::newRow("analysis 24") << analysisText(24, false) << "Analysis : M Weighted.";
        QTest::newRow("analysis 12 loaded") << analysisText(12, false) << "Analysis : A Weighted.";
        QTest::newRow("analysis 12 period") << analysisText(12, true) << "Analysis : A weighted.";
        QTest::newRow("attenuation 15") << attenuationText(15) << "15";
        QTest::newRow("attenuation 16") << attenuationText(16) << "00";
        QTest::newRow("band 84") << bandLevelText(84) << "No card detected";
        QTest::newRow("band 0") << bandLevelText(0) << "64 dB";
        QTest::newRow("L/C 30") << correlationText(30) << " 0";
        QTest::newRow("L/C 26") << correlationText(26) << " -4";
    }

    void singleTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void levelsReadTheirElements()
    {
        auto store = makeStore(5);
        ParamBlockTable &b = store->Param_Block;
        // Seven pairs from the day threshold on: day, day open, night, night open, line, public, sensor.
        const int values[7] = {101, 102, 93, 94, 55, 106, 107};
        for (int k = 0; k < 7; ++k) {
            b[block::LeqDay + 2 * k] = qint16(values[k] / 100);
            b[block::LeqDay + 2 * k + 1] = qint16(values[k] % 100);
        }
        b[block::HourDayNight] = 22;
        b[block::HourNightDay] = 7;
        b[block::OutputHalfStep] = 50;
        b[block::OutputReduction] = 4;
        b[block::Attack] = 3;
        b[block::Release] = 6;
        const SheetTexts t = loadSheet(*store);
        QCOMPARE(
            (QStringList{t.Label_Niveau_Leq_Jour, t.Label_Niveau_Leq_Jour_Fenetre, t.Label_Niveau_Leq_Nuit,
                         t.Label_Niveau_Leq_Nuit_Fenetre, t.Label_Niveau_Regul_Ligne, t.Label_Niveau_Public,
                         t.Label_Niveau_Capteur, t.Label_Heure_Jour_Nuit, t.Label_Heure_Nuit_Jour,
                         t.Label_Attenuation_Sortie, t.Label_Temps_de_Montee, t.Label_Temps_de_Descente}),
            (QStringList{"101", "102", "93", "94", "55", "106", "107", "22", "07", "04.5", "2 s for 10 dB.",
                         "3 s for 10 dB."}));
    }

    void loadedSheet_data()
    {
        // Firmware digits, regulation bit, analysis and filter card; the sheets are in
        // tests/data/sheets.txt.
        QTest::addColumn<int>("version");
        QTest::addColumn<QList<int>>("elements"); // major, minor, regulation mode, analysis
        using E = QList<int>;
        QTest::newRow("3.5 ignores digits, card assumed") << 3 << E{172, 76, 0, 0};
        QTest::newRow("4.0 A weighted, no card") << 4 << E{172, 76, 0, 12};
        QTest::newRow("5: 172 76 is 5.2, advanced") << 5 << E{172, 76, 63, 24};
        QTest::newRow("5: 156 12 is 9.0, no card") << 5 << E{156, 12, 64, 4};
        QTest::newRow("36: 140 204 is 1.3, normal") << 70 << E{140, 204, 255, 0};
        QTest::newRow("36: both bad, advanced") << 70 << E{255, 255, 128, 0};
    }

    void loadedSheet()
    {
        QFETCH(int, version);
        QFETCH(QList<int>, elements);
        auto store = makeStore(version);
        ParamBlockTable &b = store->Param_Block;
        b[block::FirmwareMajor] = qint16(elements[0]);
        b[block::FirmwareMinor] = qint16(elements[1]);
        b[block::RegulationMode] = qint16(elements[2]);
        b[block::Analysis] = qint16(elements[3]);
        b[block::FirstBand] = 7;      // 63 Hz on the KVL 24-2
        b[block::FirstBand + 14] = 7; // 63 Hz on the KVL 36
        const SheetTexts t = loadSheet(*store);
        KVL_COMPARE_REF("sheets.txt", QTest::currentDataTag(), sheetLines(t));
        if (version >= 5)
            QCOMPARE(QStringLiteral("Version ") + firmwareText(*store), t.Label_Version_FirmWare);
    }

    void kvl36Bands()
    {
        // The KVL 36 shows band levels, 63 Hz first, then the L/C correlation.
        auto store = makeStore(70);
        int elements[8];
        for (int i = 0; i < 8; ++i)
            elements[i] = block::FirstBand + 2 * ((i + 7) % 8);
        const int values[8] = {28, 84, 10, 11, 12, 13, 14, 33};
        for (int i = 0; i < 8; ++i)
            store->Param_Block[elements[i]] = qint16(values[i]);
        const SheetTexts t = loadSheet(*store);
        QStringList shown;
        for (const char *name : {"Label_Att_63", "Label_Att_125", "Label_Att_250", "Label_Att_500",
                                 "Label_Att_1k", "Label_Att_2k", "Label_Att_4k", "Label19"})
            shown << labelOf(t, QLatin1String(name));
        QCOMPARE(shown, (QStringList{"92 dB", "No card detected", "74 dB", "75 dB", "76 dB", "77 dB", "78 dB",
                                     " +3"}));
    }

    void serialNumberRebuilt()
    {
        auto store = makeStore(5);
        const int bytes[8] = {1, 23, 0, 5, 7, 9, 10, 0};
        for (int i = 0; i < 8; ++i)
            store->Param_Block[block::SerialFirst + i] = qint16(bytes[i]);
        store->Serial_Number = QStringLiteral("stale");
        QCOMPARE(loadSheet(*store).Label_Numero_Serie, QStringLiteral("1230579100"));
        QCOMPARE(store->Serial_Number, QStringLiteral("1230579100"));
    }

    void noValidRecord_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("5.X") << 5;
        QTest::newRow("KVL 36") << 70;
    }

    void noValidRecord()
    {
        QFETCH(int, version);
        auto store = makeStore(version);
        // Minute 60 and month 13: neither is a record.
        setRecord(*store, 1, 1, 1, 26, 10, 60);
        setRecord(*store, 2, 1, 13, 26, 10, 0);
        const PeriodList list = buildPeriodList(*store);
        QVERIFY(list.entries.isEmpty());
        QCOMPARE(list.currentPeriodText, QString());
        QCOMPARE(list.dateCaption, QStringLiteral("Parameter    to  Sunday 06 December  2026  at  14 : 05"));
        QCOMPARE(periodDateCaption(list, 0), QString());
        QVERIFY(periodSheet(*store, list, 0).labels().isEmpty());
    }

    void selectingEntries()
    {
        auto store = makeStore(5);
        setRecord(*store, 1, 1, 11, 25, 8, 0, 95);
        setRecord(*store, 2, 15, 1, 26, 9, 30, 100);
        setRecord(*store, 3, 3, 3, 8, 9, 5, 105); // year 2008 sorts oldest, kept where it lies
        const PeriodList list = buildPeriodList(*store);
        QCOMPARE(list.texts(), QStringList({QStringLiteral("Monday 03   March    2008  at  09 : 05"),
                                            QStringLiteral("Thursday 15  January  2026  at  09 : 30"),
                                            QStringLiteral("Saturday 01 November  2025  at  08 : 00")}));
        QCOMPARE(list.currentPeriodText, list.entries[0].text);
        QCOMPARE(list.dateCaption, QStringLiteral("Parameter  Monday 03   March    2008  at  09 : 05  to  "
                                                  "Sunday 06 December  2026  at  14 : 05"));
        QCOMPARE(periodDateCaption(list, 0),
                 QStringLiteral("Parameter    Monday 03   March    2008  at  09 : 05"
                                "  to  Sunday 06 December  2026  at  14 : 05"));
        QCOMPARE(periodDateCaption(list, 2),
                 QStringLiteral("Parameter    Saturday 01 November  2025  at  08 : 00"
                                "  to  Thursday 15  January  2026  at  09 : 30"));
        // Entry i shows record n - i.
        QCOMPARE(periodSheet(*store, list, 0).Label_Niveau_Leq_Jour, QStringLiteral("105"));
        QCOMPARE(periodSheet(*store, list, 1).Label_Niveau_Leq_Jour, QStringLiteral("100"));
        QCOMPARE(periodSheet(*store, list, 2).Label_Niveau_Leq_Jour, QStringLiteral("95"));
    }

    void periodValuesFromRecord()
    {
        auto store = makeStore(5);
        setRecord(*store, 1, 2, 2, 26, 10, 0);
        HistoryTable &t = store->Param_History;
        using namespace history;
        t(1, Analysis) = 12 + 64; // A weighted, no card bit, regulation normal
        t(1, Source) = 1 + 8;     // line, M weighted
        t(1, Attack) = 4;
        t(1, Release) = 4;
        t(1, OutputHalfStep) = 50;
        t(1, OutputReduction) = 12;
        for (int j = 0; j < 7; ++j)
            t(1, FirstBand + 2 * j) = qint16(j == 6 ? 20 : j);
        const int levels[7] = {101, 102, 93, 94, 70, 106, 107};
        for (int k = 0; k < 7; ++k) {
            t(1, LeqDay + 2 * k) = qint16(levels[k] / 100);
            t(1, LeqDay + 2 * k + 1) = qint16(levels[k] % 100);
        }
        t(1, HourDayNight) = 1;
        t(1, HourNightDay) = 18;
        // Captions, firmware and serial number stay as loaded (absent from the lines).
        const PeriodList list = buildPeriodList(*store);
        KVL_COMPARE_REF("sheets.txt", "record, normal", sheetLines(periodSheet(*store, list, 0)));
        t(1, Analysis) = 16 + 8;
        KVL_COMPARE_REF("sheets.txt", "record, advanced", sheetLines(periodSheet(*store, list, 0)));
    }

    void invalidRecordsAreSkipped()
    {
        auto store = makeStore(5);
        setRecord(*store, 1, 1, 1, 26, 0, 0, 91);
        setRecord(*store, 2, 31, 1, 26, 24, 0, 92); // hour 24
        setRecord(*store, 3, 2, 1, 99, 0, 0, 93);   // year 99 still counts here
        setRecord(*store, 4, 0, 1, 26, 0, 0, 94);   // day 0
        const PeriodList list = buildPeriodList(*store);
        QCOMPARE(list.entries.size(), 2);
        QCOMPARE(list.entries[0].row, 3);
        QCOMPARE(list.entries[1].row, 1);
        QCOMPARE(periodSheet(*store, list, 1).Label_Niveau_Leq_Jour, QStringLiteral("91"));
        QVERIFY(periodDateCaption(list, 1).endsWith(list.entries[0].text));
    }

    void kvl36Trimming()
    {
        auto store = makeStore(70);
        // 30 records, one a day in January 2026, level 60 + day.
        for (int day = 1; day <= 30; ++day)
            setRecord(*store, day, day, 1, 26, 12, 0, 60 + day);
        const PeriodList list = buildPeriodList(*store);
        QCOMPARE(list.entries.size(), 25);
        QCOMPARE(list.validRows.size(), 30);
        QCOMPARE(list.entries[0].row, 30);
        QCOMPARE(periodSheet(*store, list, 0).Label_Niveau_Leq_Jour, QStringLiteral("90"));
        // The selector keeps the newest and the oldest 24; each shows its own record
        // and ends where the next newer record starts.
        QCOMPARE(list.entries[1].row, 24);
        QCOMPARE(list.entries[1].rank, 6);
        QCOMPARE(periodSheet(*store, list, 1).Label_Niveau_Leq_Jour, QStringLiteral("84"));
        QVERIFY(periodDateCaption(list, 1).endsWith(QStringLiteral("Sunday 25  January  2026  at  12 : 00")));
        QCOMPARE(list.entries[24].row, 1);

        // Version 5 keeps every entry.
        store->Device_Version = 5;
        QCOMPARE(buildPeriodList(*store).entries.size(), 30);
    }

    void kvl36BandRing_data()
    {
        QTest::addColumn<int>("newest");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("ringEntry");
        QTest::newRow("N 5, newest") << 5 << 3 << 0 << 4;
        QTest::newRow("N 1, second wraps") << 1 << 3 << 1 << 21;
        QTest::newRow("N 12, rank 21") << 12 << 22 << 21 << 12;
        QTest::newRow("rank 22 is gone") << 12 << 23 << 22 << -1;
        QTest::newRow("trimmed rank 6") << 5 << 30 << 1 << 20;
        QTest::newRow("trimmed oldest is gone") << 5 << 30 << 24 << -1;
        QTest::newRow("N 0") << 0 << 3 << 0 << -1;
    }

    void kvl36BandRing()
    {
        QFETCH(int, newest);
        QFETCH(int, records);
        QFETCH(int, index);
        QFETCH(int, ringEntry);
        auto store = makeStore(70);
        store->Param_Block[block::BandRingNewestUnits] = qint16(newest % 10);
        store->Param_Block[block::BandRingNewestTens] = qint16(newest / 10);
        // Ring entry e holds level e in all eight of its elements.
        const int ringEnd = block::BandRingFirst + block::BandRingEntries * block::BandRingEntrySize;
        for (int i = block::BandRingFirst; i < ringEnd; ++i)
            store->Param_Block[i] = qint16((i - block::BandRingFirst) / block::BandRingEntrySize);
        // Elements beyond the ring would read as an ordinary level.
        for (int i = ringEnd; i < ParamBlockSize; ++i)
            store->Param_Block[i] = 40;
        for (int r = 1; r <= records; ++r)
            setRecord(*store, r, r, 1, 26, 12, 0);
        const PeriodList list = buildPeriodList(*store);
        const SheetTexts s = periodSheet(*store, list, index);
        QCOMPARE(bandRingEntry(store->Param_Block, list.entries[index].rank), ringEntry);
        const QString level = ringEntry < 0 ? QStringLiteral("No card detected")
                                            : QString::number(ringEntry + 64) + QStringLiteral(" dB");
        for (const QString &value : s.bandValues)
            QCOMPARE(value, level);
        QCOMPARE(s.Label19, ringEntry < 0 ? QStringLiteral("") : correlationText(ringEntry));
    }
};

QTEST_APPLESS_MAIN(TestParamSheet)
#include "tst_param_sheet.moc"
