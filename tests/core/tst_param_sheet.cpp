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

void setBandRingEntry(Store &s, int entry, int value)
{
    for (int k = 0; k < 8; ++k)
        s.Param_Block[2373 + 8 * entry + k] = qint16(value);
}

} // namespace

class TestParamSheet : public QObject
{
    Q_OBJECT

private slots:
    void singleTexts_data();
    void singleTexts();
    void levelsReadTheirElements();
    void firmwareDigits();
    void versionText_data();
    void versionText();
    void regulationAtLoad_data();
    void regulationAtLoad();
    void analysisAndFilterCard_data();
    void analysisAndFilterCard();
    void attenuations_data();
    void attenuations();
    void kvl36Bands_data();
    void kvl36Bands();
    void serialNumberRebuilt();
    void recordAndDownloadTexts();
    void noValidRecord_data();
    void noValidRecord();
    void selectingEntries();
    void periodValuesFromRecord();
    void invalidRecordsAreSkipped();
    void kvl36Trimming();
    void kvl36BandRing_data();
    void kvl36BandRing();
};

void TestParamSheet::singleTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("level 1,5") << levelText(1, 5) << "105";
    QTest::newRow("level 0,9") << levelText(0, 9) << "9";
    QTest::newRow("level 0,95") << levelText(0, 95) << "95";
    QTest::newRow("level 0,0") << levelText(0, 0) << "0";
    QTest::newRow("hour 7") << hourText(7) << "07";
    QTest::newRow("hour 0") << hourText(0) << "00";
    QTest::newRow("hour 9") << hourText(9) << "09";
    QTest::newRow("hour 10") << hourText(10) << "10";
    QTest::newRow("hour 23") << hourText(23) << "23";
    QTest::newRow("reduction 50,3") << outputReductionText(50, 3) << "03.5";
    QTest::newRow("reduction 0,12") << outputReductionText(0, 12) << "12";
    QTest::newRow("reduction 0,5") << outputReductionText(0, 5) << "05";
    QTest::newRow("reduction 50,5") << outputReductionText(50, 5) << "05.5";
    QTest::newRow("reduction 50,12") << outputReductionText(50, 12) << "12.5";
    QTest::newRow("reduction 49,9") << outputReductionText(49, 9) << "09";
    QTest::newRow("reduction 50,10") << outputReductionText(50, 10) << "10.5";
    QTest::newRow("line 70") << lineRegulationText(0, 70) << "63";
    QTest::newRow("line 64") << lineRegulationText(0, 64) << "63";
    QTest::newRow("line 63") << lineRegulationText(0, 63) << "63";
    QTest::newRow("line 62") << lineRegulationText(0, 62) << "62";
    QTest::newRow("line 1,0") << lineRegulationText(1, 0) << "63";
    QTest::newRow("line 0") << lineRegulationText(0, 0) << "0";
    QTest::newRow("attack 0") << attackText(0) << "250 ms for 10 dB.";
    QTest::newRow("attack 2") << attackText(2) << "1 s for 10 dB.";
    QTest::newRow("attack 7") << attackText(7) << "6 s for 10 dB.";
    QTest::newRow("attack 10 masked") << attackText(10) << "1 s for 10 dB.";
    QTest::newRow("release 2") << releaseText(2) << "750 ms for 10 dB.";
    QTest::newRow("release 4") << releaseText(4) << "1.5 s for 10 dB.";
    QTest::newRow("release 255 masked") << releaseText(255) << "4 s for 10 dB.";
    QTest::newRow("source line A") << sourceText(13) << "Source : Line, A Weighted.";
    QTest::newRow("source sensor flat") << sourceText(4) << "Source : Sensor, Flat.";
    QTest::newRow("source sensor M") << sourceText(8) << "Source : Sensor, M Weighted.";
    QTest::newRow("analysis 0") << analysisText(0, false) << "Analysis : Flat.";
    QTest::newRow("analysis 4") << analysisText(4, false) << "Analysis : Flat.";
    QTest::newRow("analysis 24") << analysisText(24, false) << "Analysis : M Weighted.";
    QTest::newRow("analysis 12 loaded") << analysisText(12, false) << "Analysis : A Weighted.";
    QTest::newRow("analysis 12 period") << analysisText(12, true) << "Analysis : A weighted.";
    QTest::newRow("analysis 8 period") << analysisText(8, true) << "Analysis : M Weighted.";
    QTest::newRow("attenuation 0") << attenuationText(0) << "00";
    QTest::newRow("attenuation 5") << attenuationText(5) << "05";
    QTest::newRow("attenuation 10") << attenuationText(10) << "10";
    QTest::newRow("attenuation 15") << attenuationText(15) << "15";
    QTest::newRow("attenuation 16") << attenuationText(16) << "00";
    QTest::newRow("band 84") << bandLevelText(84) << "No card detected";
    QTest::newRow("band 28") << bandLevelText(28) << "92 dB";
    QTest::newRow("band 0") << bandLevelText(0) << "64 dB";
    QTest::newRow("lc 30") << correlationText(30) << " 0";
    QTest::newRow("lc 33") << correlationText(33) << " +3";
    QTest::newRow("lc 26") << correlationText(26) << " -4";
    QTest::newRow("lc 31") << correlationText(31) << " +1";
}

void TestParamSheet::singleTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestParamSheet::levelsReadTheirElements()
{
    auto store = makeStore(5);
    ParamBlockTable &b = store->Param_Block;
    // Seven pairs from 2176 on: day, day open, night, night open, line, public, sensor.
    const int values[7] = {101, 102, 93, 94, 55, 106, 107};
    for (int k = 0; k < 7; ++k) {
        b[2176 + 2 * k] = qint16(values[k] / 100);
        b[2177 + 2 * k] = qint16(values[k] % 100);
    }
    b[2191] = 22;
    b[2193] = 7;
    b[2052] = 50;
    b[2053] = 4;
    b[2049] = 3;
    b[2051] = 6;
    const SheetTexts t = loadSheet(*store);
    QCOMPARE(t.Label_Niveau_Leq_Jour, QStringLiteral("101"));
    QCOMPARE(t.Label_Niveau_Leq_Jour_Fenetre, QStringLiteral("102"));
    QCOMPARE(t.Label_Niveau_Leq_Nuit, QStringLiteral("93"));
    QCOMPARE(t.Label_Niveau_Leq_Nuit_Fenetre, QStringLiteral("94"));
    QCOMPARE(t.Label_Niveau_Regul_Ligne, QStringLiteral("55"));
    QCOMPARE(t.Label_Niveau_Public, QStringLiteral("106"));
    QCOMPARE(t.Label_Niveau_Capteur, QStringLiteral("107"));
    QCOMPARE(t.Label_Heure_Jour_Nuit, QStringLiteral("22"));
    QCOMPARE(t.Label_Heure_Nuit_Jour, QStringLiteral("07"));
    QCOMPARE(t.Label_Attenuation_Sortie, QStringLiteral("04.5"));
    QCOMPARE(t.Label_Temps_de_Montee, QStringLiteral("2 s for 10 dB."));
    QCOMPARE(t.Label_Temps_de_Descente, QStringLiteral("3 s for 10 dB."));
}

void TestParamSheet::firmwareDigits()
{
    // Each code is the ASCII digit with its eight bits in reverse order.
    for (int digit = 0; digit < 10; ++digit) {
        int code = 0;
        const int ascii = '0' + digit;
        for (int bit = 0; bit < 8; ++bit)
            if (ascii & (1 << bit))
                code |= 1 << (7 - bit);
        QCOMPARE(firmwareText(code, code), QStringLiteral("%1.%1").arg(digit));
    }
    QCOMPARE(firmwareText(0, 12), QStringLiteral("5.X"));
    QCOMPARE(firmwareText(12, 255), QStringLiteral("5.X"));
    QCOMPARE(firmwareText('5', '2'), QStringLiteral("5.X"));
}

void TestParamSheet::versionText_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3.5 ignores digits") << 3 << 172 << 76 << "Version 3.5";
    QTest::newRow("4.0 ignores digits") << 4 << 172 << 76 << "Version 4.0";
    QTest::newRow("5: 172 76") << 5 << 172 << 76 << "Version 5.2";
    QTest::newRow("5: 156 12") << 5 << 156 << 12 << "Version 9.0";
    QTest::newRow("36: 140 204") << 70 << 140 << 204 << "Version 1.3";
    QTest::newRow("5: major 0") << 5 << 0 << 76 << "Version 5.X";
    QTest::newRow("5: minor 0") << 5 << 172 << 0 << "Version 5.X";
    QTest::newRow("36: both bad") << 70 << 255 << 255 << "Version 5.X";
}

void TestParamSheet::versionText()
{
    QFETCH(int, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, expected);
    auto store = makeStore(version);
    store->Param_Block[160] = qint16(major);
    store->Param_Block[161] = qint16(minor);
    QCOMPARE(loadSheet(*store).Label_Version_FirmWare, expected);
    if (version >= 5)
        QCOMPARE(QStringLiteral("Version ") + firmwareText(*store), expected);
}

void TestParamSheet::regulationAtLoad_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("element5");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3.5 always normal") << 3 << 0 << "Regulation Mode = Normal.";
    QTest::newRow("4.0 always normal") << 4 << 0 << "Regulation Mode = Normal.";
    QTest::newRow("5 bit 6 set") << 5 << 64 << "Regulation Mode = Normal.";
    QTest::newRow("5 bit 6 clear") << 5 << 63 << "Regulation Mode = Advanced.";
    QTest::newRow("36 bit 6 set") << 70 << 255 << "Regulation Mode = Normal.";
    QTest::newRow("36 bit 6 clear") << 70 << 128 << "Regulation Mode = Advanced.";
}

void TestParamSheet::regulationAtLoad()
{
    QFETCH(int, version);
    QFETCH(int, element5);
    QFETCH(QString, expected);
    auto store = makeStore(version);
    store->Param_Block[5] = qint16(element5);
    QCOMPARE(loadSheet(*store).Label_Fonctionnement_Regul, expected);
}

void TestParamSheet::analysisAndFilterCard_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("element6");
    QTest::addColumn<QString>("analysis");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("band63");
    QTest::newRow("5 flat no card") << 5 << 4 << "Analysis : Flat."
                                    << "No Filter card"
                                    << "No card detected";
    QTest::newRow("5 M with card") << 5 << 24 << "Analysis : M Weighted."
                                   << "Filter card Parameters"
                                   << "07";
    QTest::newRow("4 A no card") << 4 << 12 << "Analysis : A Weighted."
                                 << "No Filter card"
                                 << "No card detected";
    QTest::newRow("3.5 card assumed") << 3 << 0 << "Analysis : Flat."
                                      << "Filter card Parameters"
                                      << "07";
    QTest::newRow("36 card assumed") << 70 << 0 << "Analysis : Flat."
                                     << "Filter card Parameters"
                                     << "71 dB";
}

void TestParamSheet::analysisAndFilterCard()
{
    QFETCH(int, version);
    QFETCH(int, element6);
    QFETCH(QString, analysis);
    QFETCH(QString, heading);
    QFETCH(QString, band63);
    auto store = makeStore(version);
    store->Param_Block[6] = qint16(element6);
    store->Param_Block[2055] = 7; // 63 Hz on the KVL 24-2
    store->Param_Block[2069] = 7; // 63 Hz on the KVL 36
    const SheetTexts t = loadSheet(*store);
    QCOMPARE(t.Label_Analyse, analysis);
    QCOMPARE(t.Label2, heading);
    QCOMPARE(t.bandValues[0], band63);
}

void TestParamSheet::attenuations_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("63 Hz 5") << 0 << 5 << "05";
    QTest::newRow("125 Hz 15") << 1 << 15 << "15";
    QTest::newRow("250 Hz 16") << 2 << 16 << "00";
    QTest::newRow("500 Hz 10") << 3 << 10 << "10";
    QTest::newRow("1 kHz 0") << 4 << 0 << "00";
    QTest::newRow("2 kHz 9") << 5 << 9 << "09";
    QTest::newRow("4 kHz 255") << 6 << 255 << "00";
}

void TestParamSheet::attenuations()
{
    QFETCH(int, band);
    QFETCH(int, value);
    QFETCH(QString, expected);
    auto store = makeStore(5);
    store->Param_Block[6] = 16;
    store->Param_Block[2055 + 2 * band] = qint16(value);
    const SheetTexts t = loadSheet(*store);
    QCOMPARE(t.bandValues[std::size_t(band)], expected);
    const char *const captions[7] = {" 63 Hz Band Attenuation ",  " 125 Hz Band Attenuation ",
                                     " 250 Hz Band Attenuation ", " 500 Hz Band Attenuation ",
                                     " 1 kHz Band Attenuation ",  " 2 kHz Band Attenuation ",
                                     " 4 kHz Band Attenuation "};
    QCOMPARE(t.bandCaptions[std::size_t(band)], QString::fromLatin1(captions[band]));
    QVERIFY(t.Label19.isNull());
}

void TestParamSheet::kvl36Bands_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    QTest::newRow("63 Hz is 2069") << 2069 << 28 << "Label_Att_63"
                                   << "92 dB";
    QTest::newRow("125 Hz is 2055") << 2055 << 84 << "Label_Att_125"
                                    << "No card detected";
    QTest::newRow("250 Hz is 2057") << 2057 << 10 << "Label_Att_250"
                                    << "74 dB";
    QTest::newRow("500 Hz is 2059") << 2059 << 11 << "Label_Att_500"
                                    << "75 dB";
    QTest::newRow("1 kHz is 2061") << 2061 << 12 << "Label_Att_1k"
                                   << "76 dB";
    QTest::newRow("2 kHz is 2063") << 2063 << 13 << "Label_Att_2k"
                                   << "77 dB";
    QTest::newRow("4 kHz is 2065") << 2065 << 14 << "Label_Att_4k"
                                   << "78 dB";
    QTest::newRow("L/C 30") << 2067 << 30 << "Label19"
                            << " 0";
    QTest::newRow("L/C 33") << 2067 << 33 << "Label19"
                            << " +3";
    QTest::newRow("L/C 26") << 2067 << 26 << "Label19"
                            << " -4";
}

void TestParamSheet::kvl36Bands()
{
    QFETCH(int, element);
    QFETCH(int, value);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    auto store = makeStore(70);
    store->Param_Block[element] = qint16(value);
    const SheetTexts t = loadSheet(*store);
    QString actual;
    for (const auto &[name, text] : t.labels())
        if (name == label)
            actual = text;
    QCOMPARE(actual, expected);
    QCOMPARE(t.bandCaptions[0], QStringLiteral("63 Hz Band level"));
    QCOMPARE(t.bandCaptions[6], QStringLiteral("4 kHz Band level"));
}

void TestParamSheet::serialNumberRebuilt()
{
    auto store = makeStore(5);
    const int bytes[8] = {1, 23, 0, 5, 7, 9, 10, 0};
    for (int i = 0; i < 8; ++i)
        store->Param_Block[2360 + i] = qint16(bytes[i]);
    store->Serial_Number = QStringLiteral("stale");
    QCOMPARE(loadSheet(*store).Label_Numero_Serie, QStringLiteral("1230579100"));
    QCOMPARE(store->Serial_Number, QStringLiteral("1230579100"));
}

void TestParamSheet::recordAndDownloadTexts()
{
    auto store = makeStore(5);
    setRecord(*store, 1, 3, 3, 8, 9, 5);
    QCOMPARE(recordText(store->Param_History, 1), QStringLiteral("Monday 03   March    2008  at  09 : 05"));
    setRecord(*store, 2, 15, 1, 26, 23, 59);
    QCOMPARE(recordText(store->Param_History, 2), QStringLiteral("Thursday 15  January  2026  at  23 : 59"));
    QCOMPARE(downloadText(QStringLiteral("06/12/2026"), QStringLiteral("14:05:33")),
             QStringLiteral("Sunday 06 December  2026  at  14 : 05"));
    // After a file load the time has no seconds.
    QCOMPARE(downloadText(QStringLiteral("01/02/2026"), QStringLiteral("08:30")),
             QStringLiteral("Sunday 01  February  2026  at  08 : 30"));
}

void TestParamSheet::noValidRecord_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("5.X") << 5;
    QTest::newRow("KVL 36") << 70;
}

void TestParamSheet::noValidRecord()
{
    QFETCH(int, version);
    auto store = makeStore(version);
    // Year 255, minute 60, month 13: none of them is a record.
    setRecord(*store, 1, 1, 1, 26, 10, 60);
    setRecord(*store, 2, 1, 13, 26, 10, 0);
    const PeriodList list = buildPeriodList(*store);
    QVERIFY(list.entries.isEmpty());
    QCOMPARE(list.currentPeriodText, QString());
    QCOMPARE(list.dateCaption, QStringLiteral("Parameter    to  Sunday 06 December  2026  at  14 : 05"));
    QCOMPARE(periodDateCaption(list, 0), QString());
    QVERIFY(periodSheet(*store, list, 0).labels().isEmpty());
}

void TestParamSheet::selectingEntries()
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
    QCOMPARE(periodDateCaption(list, 0), QStringLiteral("Parameter    Monday 03   March    2008  at  09 : 05"
                                                        "  to  Sunday 06 December  2026  at  14 : 05"));
    QCOMPARE(periodDateCaption(list, 2), QStringLiteral("Parameter    Saturday 01 November  2025  at  08 : 00"
                                                        "  to  Thursday 15  January  2026  at  09 : 30"));
    // Entry i shows record n - i.
    QCOMPARE(periodSheet(*store, list, 0).Label_Niveau_Leq_Jour, QStringLiteral("105"));
    QCOMPARE(periodSheet(*store, list, 1).Label_Niveau_Leq_Jour, QStringLiteral("100"));
    QCOMPARE(periodSheet(*store, list, 2).Label_Niveau_Leq_Jour, QStringLiteral("95"));
}

void TestParamSheet::periodValuesFromRecord()
{
    auto store = makeStore(5);
    setRecord(*store, 1, 2, 2, 26, 10, 0);
    HistoryTable &t = store->Param_History;
    t(1, 7) = 12 + 64; // A weighted, no card bit, regulation normal
    t(1, 8) = 1 + 8;   // line, M weighted
    t(1, 10) = 4;
    t(1, 12) = 4;
    t(1, 13) = 50;
    t(1, 14) = 12;
    for (int j = 0; j < 7; ++j)
        t(1, 16 + 2 * j) = qint16(j == 6 ? 20 : j);
    const int levels[7] = {101, 102, 93, 94, 70, 106, 107};
    for (int k = 0; k < 7; ++k) {
        t(1, 29 + 2 * k) = qint16(levels[k] / 100);
        t(1, 30 + 2 * k) = qint16(levels[k] % 100);
    }
    t(1, 44) = 1;
    t(1, 46) = 18;
    store->Param_Block[160] = 172;
    store->Param_Block[161] = 76;
    const PeriodList list = buildPeriodList(*store);
    const SheetTexts s = periodSheet(*store, list, 0);
    QCOMPARE(s.Label_Analyse, QStringLiteral("Analysis : A weighted."));
    QCOMPARE(s.Label_Source, QStringLiteral("Source : Line, M Weighted."));
    QCOMPARE(s.Label_Temps_de_Montee, QStringLiteral("3 s for 10 dB."));
    QCOMPARE(s.Label_Temps_de_Descente, QStringLiteral("1.5 s for 10 dB."));
    QCOMPARE(s.Label_Attenuation_Sortie, QStringLiteral("12.5"));
    QCOMPARE(s.Label_Niveau_Leq_Jour, QStringLiteral("101"));
    QCOMPARE(s.Label_Niveau_Leq_Jour_Fenetre, QStringLiteral("102"));
    QCOMPARE(s.Label_Niveau_Leq_Nuit, QStringLiteral("93"));
    QCOMPARE(s.Label_Niveau_Leq_Nuit_Fenetre, QStringLiteral("94"));
    QCOMPARE(s.Label_Niveau_Regul_Ligne, QStringLiteral("63"));
    QCOMPARE(s.Label_Niveau_Public, QStringLiteral("106"));
    QCOMPARE(s.Label_Niveau_Capteur, QStringLiteral("107"));
    QCOMPARE(s.Label_Heure_Jour_Nuit, QStringLiteral("01"));
    QCOMPARE(s.Label_Heure_Nuit_Jour, QStringLiteral("18"));
    QCOMPARE(s.Label_Fonctionnement_Regul, QStringLiteral("Regulation Mode = Normal."));
    QCOMPARE(s.Label2, QStringLiteral("No Filter card"));
    // Band values are written whatever the card flag; captions stay.
    QCOMPARE(s.bandValues[0], QStringLiteral("00"));
    QCOMPARE(s.bandValues[5], QStringLiteral("05"));
    QCOMPARE(s.bandValues[6], QStringLiteral("00"));
    QVERIFY(s.bandCaptions[0].isNull());
    QVERIFY(s.Label_Version_FirmWare.isNull());
    QVERIFY(s.Label_Numero_Serie.isNull());

    t(1, 7) = 16 + 8;
    const SheetTexts advanced = periodSheet(*store, list, 0);
    QCOMPARE(advanced.Label_Fonctionnement_Regul, QStringLiteral("Regulation Mode = Advanced."));
    QCOMPARE(advanced.Label2, QStringLiteral("Filter card Parameters"));
    QCOMPARE(advanced.Label_Analyse, QStringLiteral("Analysis : M Weighted."));
}

void TestParamSheet::invalidRecordsAreSkipped()
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
    QCOMPARE(periodDateCaption(list, 1).endsWith(list.entries[0].text), true);
}

void TestParamSheet::kvl36Trimming()
{
    auto store = makeStore(70);
    // 30 records, one a day in January 2026, level 60 + day.
    for (int day = 1; day <= 30; ++day)
        setRecord(*store, day, day, 1, 26, 12, 0, 60 + day);
    const PeriodList list = buildPeriodList(*store);
    QCOMPARE(list.entries.size(), 25);
    QCOMPARE(list.validRows.size(), 30);
    // The newest entry shows the newest record.
    QCOMPARE(list.entries[0].row, 30);
    QCOMPARE(periodSheet(*store, list, 0).Label_Niveau_Leq_Jour, QStringLiteral("90"));
    // The selector keeps the newest and the oldest 24; each shows its own record
    // and ends where the next newer record starts.
    QCOMPARE(list.entries[1].row, 24);
    QCOMPARE(list.entries[1].rank, 6);
    QCOMPARE(periodSheet(*store, list, 1).Label_Niveau_Leq_Jour, QStringLiteral("84"));
    QVERIFY(periodDateCaption(list, 1).endsWith(QStringLiteral("Sunday 25  January  2026  at  12 : 00")));
    QCOMPARE(list.entries[24].row, 1);
    QCOMPARE(periodSheet(*store, list, 24).Label_Niveau_Leq_Jour, QStringLiteral("61"));

    // Version 5 keeps every entry.
    store->Device_Version = 5;
    QCOMPARE(buildPeriodList(*store).entries.size(), 30);
}

void TestParamSheet::kvl36BandRing_data()
{
    QTest::addColumn<int>("newest");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("ringEntry");
    QTest::newRow("N 5, newest") << 5 << 3 << 0 << 4;
    QTest::newRow("N 5, third") << 5 << 3 << 2 << 2;
    QTest::newRow("N 1, second wraps") << 1 << 3 << 1 << 21;
    QTest::newRow("N 22, newest") << 22 << 3 << 0 << 21;
    QTest::newRow("N 12, rank 21") << 12 << 22 << 21 << 12;
    QTest::newRow("rank 22 is gone") << 12 << 23 << 22 << -1;
    QTest::newRow("trimmed rank 6") << 5 << 30 << 1 << 20;
    QTest::newRow("trimmed oldest is gone") << 5 << 30 << 24 << -1;
    QTest::newRow("N 0") << 0 << 3 << 0 << -1;
    QTest::newRow("N 23") << 23 << 3 << 0 << -1;
}

void TestParamSheet::kvl36BandRing()
{
    QFETCH(int, newest);
    QFETCH(int, records);
    QFETCH(int, index);
    QFETCH(int, ringEntry);
    auto store = makeStore(70);
    store->Param_Block[2370] = qint16(newest % 10);
    store->Param_Block[2371] = qint16(newest / 10);
    for (int e = 0; e < 22; ++e)
        setBandRingEntry(*store, e, e);
    // Elements beyond the ring would read as an ordinary level.
    for (int i = 2549; i < 2560; ++i)
        store->Param_Block[i] = 40;
    for (int r = 1; r <= records; ++r)
        setRecord(*store, r, r, 1, 26, 12, 0);
    const PeriodList list = buildPeriodList(*store);
    const SheetTexts s = periodSheet(*store, list, index);
    QCOMPARE(bandRingEntry(store->Param_Block, list.entries[index].rank), ringEntry);
    if (ringEntry < 0) {
        for (const QString &value : s.bandValues)
            QCOMPARE(value, QStringLiteral("No card detected"));
        QCOMPARE(s.Label19, QStringLiteral(""));
        return;
    }
    const QString level = QString::number(ringEntry + 64) + QStringLiteral(" dB");
    for (const QString &value : s.bandValues)
        QCOMPARE(value, level);
    QCOMPARE(s.Label19, correlationText(ringEntry));
}

QTEST_APPLESS_MAIN(TestParamSheet)
#include "tst_param_sheet.moc"
