#include "params/ParamSheet.h"

#include "store/Names.h"
#include "store/RecordDate.h"
#include "tables/Firmware.h"

namespace kvl {

namespace {

const char *const NoCard = "No card detected";

// Level pairs (high, low) follow each other from the day threshold on.
constexpr int FirstLevelElement = block::LeqDay;
constexpr int FirstLevelField = history::LeqDay;
constexpr int FirstBandElement = block::FirstBand;
constexpr int FirstBandField = history::FirstBand;
constexpr int BandRingFirstElement = block::BandRingFirst;

bool isKvl36(const Store &store)
{
    return store.Device_Version == VersionKvl36;
}

// "KVL 36" band values in element order (125 Hz .. 4 kHz, L/C, 63 Hz) into the
// sheet's 63 Hz .. 4 kHz band values and the L/C correlation.
void setKvl36Bands(SheetTexts &texts, const int values[8])
{
    texts.bandValues[0] = bandLevelText(values[7]);
    for (int band = 1; band < 7; ++band)
        texts.bandValues[std::size_t(band)] = bandLevelText(values[band - 1]);
    texts.correlation = correlationText(values[6]);
}

// The texts every sheet shares, current or period (levels to band values).
void setCommonTexts(SheetTexts &texts, const ParamValues &v, bool periodSelected)
{
    // Line regulation (pair 4) is capped; the other levels show as they are.
    QString *levelLabels[] = {&texts.leqDay, &texts.leqDayOpen,  &texts.leqNight,   &texts.leqNightOpen,
                              nullptr,       &texts.publicLevel, &texts.sensorLevel};
    for (int k = 0; k < 7; ++k)
        if (levelLabels[k])
            *levelLabels[k] = levelText(v.levels[k][0], v.levels[k][1]);
    texts.lineRegulation = lineRegulationText(v.levels[4][0], v.levels[4][1]);
    texts.dayToNight = hourText(v.hourDayNight);
    texts.nightToDay = hourText(v.hourNightDay);
    const Measurement m = v.measurement();
    texts.analysis = analysisText(m.analysis, periodSelected);
    texts.filterTitle =
        texts.filterCardPresent ? QStringLiteral("Filter card Parameters") : QStringLiteral("No Filter card");
    texts.source = sourceText(m.source, m.sourceWeighting);
    texts.attack = attackText(v.attack);
    texts.release = releaseText(v.release);
    texts.outputReduction = outputReductionText(v.halfStep, v.reduction);
}

} // namespace

ParamValues valuesFromBlock(const ParamBlockTable &block)
{
    ParamValues v;
    v.analysis = block[block::Analysis];
    v.source = block[block::Source];
    v.attack = block[block::Attack];
    v.release = block[block::Release];
    v.halfStep = block[block::OutputHalfStep];
    v.reduction = block[block::OutputReduction];
    for (int j = 0; j < 7; ++j)
        v.bands[j] = block[FirstBandElement + 2 * j];
    for (int k = 0; k < 7; ++k) {
        v.levels[k][0] = block[FirstLevelElement + 2 * k];
        v.levels[k][1] = block[FirstLevelElement + 2 * k + 1];
    }
    v.hourDayNight = block[block::HourDayNight];
    v.hourNightDay = block[block::HourNightDay];
    return v;
}

ParamValues valuesFromRecord(const HistoryTable &history, int row)
{
    ParamValues v;
    v.analysis = history(row, history::Analysis);
    v.source = history(row, history::Source);
    v.attack = history(row, history::Attack);
    v.release = history(row, history::Release);
    v.halfStep = history(row, history::OutputHalfStep);
    v.reduction = history(row, history::OutputReduction);
    for (int j = 0; j < 7; ++j)
        v.bands[j] = history(row, FirstBandField + 2 * j);
    for (int k = 0; k < 7; ++k) {
        v.levels[k][0] = history(row, FirstLevelField + 2 * k);
        v.levels[k][1] = history(row, FirstLevelField + 2 * k + 1);
    }
    v.hourDayNight = history(row, history::HourDayNight);
    v.hourNightDay = history(row, history::HourNightDay);
    return v;
}

QString levelText(int high, int low)
{
    return QString::number(levelOf(high, low));
}

QString hourText(int hour)
{
    return twoDigitText(hour);
}

QString weightingWord(Weighting weighting)
{
    switch (weighting) {
    case Weighting::M:
        return QStringLiteral("M Weighted.");
    case Weighting::A:
        return QStringLiteral("A Weighted.");
    case Weighting::Flat:
        break;
    }
    return QStringLiteral("Flat.");
}

QString analysisText(Weighting analysis, bool periodSelected)
{
    if (analysis == Weighting::A && periodSelected)
        return QStringLiteral("Analysis : A weighted.");
    return QStringLiteral("Analysis : ") + weightingWord(analysis);
}

QString sourceText(InputSource source, Weighting weighting)
{
    const QString head =
        source == InputSource::Line ? QStringLiteral("Source : Line, ") : QStringLiteral("Source : Sensor, ");
    return head + weightingWord(weighting);
}

QString attackText(int code)
{
    static const char *const texts[8] = {"250 ms for 10 dB.", "500 ms for 10 dB.", "1 s for 10 dB.",
                                         "2 s for 10 dB.",    "3 s for 10 dB.",    "4 s for 10 dB.",
                                         "5 s for 10 dB.",    "6 s for 10 dB."};
    return QString::fromLatin1(texts[code & 7]);
}

QString releaseText(int code)
{
    static const char *const texts[8] = {"250 ms for 10 dB.", "500 ms for 10 dB.", "750 ms for 10 dB.",
                                         "1 s for 10 dB.",    "1.5 s for 10 dB.",  "2 s for 10 dB.",
                                         "3 s for 10 dB.",    "4 s for 10 dB."};
    return QString::fromLatin1(texts[code & 7]);
}

QString outputReductionText(int halfStep, int whole)
{
    QString text = twoDigitText(whole);
    if (halfStep == 50)
        text += QStringLiteral(".5");
    return text;
}

QString lineRegulationText(int high, int low)
{
    // The device regulates the line to 63 dBr at most.
    const int level = levelOf(high, low);
    return QString::number(level > 63 ? 63 : level);
}

QString attenuationText(int value)
{
    if (value > 15)
        return QStringLiteral("00");
    return twoDigitText(value);
}

QString bandLevelText(int value)
{
    if (value == 84)
        return QString::fromLatin1(NoCard);
    return QString::number(value + 64) + QStringLiteral(" dB");
}

QString correlationText(int value)
{
    const int c = value - 30;
    return (value < 31 ? QStringLiteral(" ") : QStringLiteral(" +")) + QString::number(c);
}

QString regulationText(bool normal)
{
    return normal ? QStringLiteral("Regulation Mode = Normal.")
                  : QStringLiteral("Regulation Mode = Advanced.");
}

QString firmwareVersionText(const Store &store)
{
    switch (store.Device_Version) {
    case Version35:
        return QStringLiteral("Version 3.5");
    case Version40:
        return QStringLiteral("Version 4.0");
    default:
        return QStringLiteral("Version ") + firmwareText(store);
    }
}

SheetTexts loadSheet(Store &store)
{
    const ParamBlockTable &block = store.Param_Block;
    const qint16 version = store.Device_Version;
    SheetTexts texts;
    texts.firmware = firmwareVersionText(store);
    Lire_Numero_Serie(store);
    texts.serialNumber = store.Serial_Number;

    const bool normal = !isVersion5Family(version) || (block[block::RegulationMode] & RegulationNormalBit);
    texts.regulation = regulationText(normal);
    texts.filterCardPresent =
        filterCardOf(block[block::Analysis]) || version == Version35 || version == VersionKvl36;

    const ParamValues v = valuesFromBlock(block);
    setCommonTexts(texts, v, false);

    if (!isKvl36(store)) {
        static const char *const captions[7] = {" 63 Hz Band Attenuation ",  " 125 Hz Band Attenuation ",
                                                " 250 Hz Band Attenuation ", " 500 Hz Band Attenuation ",
                                                " 1 kHz Band Attenuation ",  " 2 kHz Band Attenuation ",
                                                " 4 kHz Band Attenuation "};
        for (std::size_t band = 0; band < 7; ++band) {
            texts.bandCaptions[band] = QString::fromLatin1(captions[band]);
            texts.bandValues[band] =
                texts.filterCardPresent ? attenuationText(v.bands[band]) : QString::fromLatin1(NoCard);
        }
    } else {
        static const char *const captions[7] = {"63 Hz Band level",  "125 Hz Band level", "250 Hz Band level",
                                                "500 Hz Band level", "1 kHz Band level",  "2 kHz Band level",
                                                "4 kHz Band level"};
        for (std::size_t band = 0; band < 7; ++band)
            texts.bandCaptions[band] = QString::fromLatin1(captions[band]);
        int values[8];
        for (int k = 0; k < 8; ++k)
            values[k] = block[FirstBandElement + 2 * k];
        setKvl36Bands(texts, values);
    }
    return texts;
}

QString recordText(const HistoryTable &history, int row)
{
    const int day = history(row, field::Day), month = history(row, field::Month);
    const int year = 2000 + history(row, field::Year);
    return Nom_Jour(dateText(day, month, year)) + QLatin1Char(' ') + twoDigitText(day) + QLatin1Char(' ') +
           Nom_Mois(month) + QLatin1Char(' ') + QString::number(year) + QStringLiteral("  at  ") +
           twoDigitText(history(row, field::Hour)) + QStringLiteral(" : ") +
           twoDigitText(history(row, field::Minute));
}

QString downloadText(const QDateTime &transfer)
{
    if (!transfer.isValid())
        return QString();
    const QDate day = transfer.date();
    return dayName(day) + QLatin1Char(' ') + twoDigitText(day.day()) + QLatin1Char(' ') +
           Nom_Mois(day.month()) + QLatin1Char(' ') + QString::number(day.year()) + QStringLiteral("  at  ") +
           twoDigitText(transfer.time().hour()) + QStringLiteral(" : ") +
           twoDigitText(transfer.time().minute());
}

QStringList PeriodList::texts() const
{
    QStringList out;
    for (const PeriodEntry &entry : entries)
        out << entry.text;
    return out;
}

PeriodList buildPeriodList(const Store &store)
{
    PeriodList list;
    const HistoryTable &history = store.Param_History;
    for (int row = HistoryTable::rowCount; row >= 1; --row) {
        // A record is listed with its weekday, so it needs a real date.
        if (!recordDate(history.row(row)).isValid())
            continue;
        PeriodEntry entry;
        entry.text = recordText(history, row);
        entry.row = row;
        entry.rank = int(list.validRows.size());
        list.validRows.append(row);
        list.validTexts.append(entry.text);
        list.entries.append(entry);
    }
    if (!list.entries.isEmpty())
        list.currentPeriodText = list.entries.first().text;
    list.downloadText = downloadText(transferStamp(store));
    list.dateCaption =
        QStringLiteral("Parameter  ") + list.currentPeriodText + QStringLiteral("  to  ") + list.downloadText;
    // The "KVL 36" selector keeps the newest entry and the oldest ones. Each
    // entry keeps its own record row and rank, so what it shows still belongs
    // to it.
    if (isKvl36(store))
        while (list.entries.size() > Kvl36PeriodEntries)
            list.entries.removeAt(1);
    return list;
}

QString periodDateCaption(const PeriodList &list, int index)
{
    if (index < 0 || index >= list.entries.size())
        return QString();
    const PeriodEntry &entry = list.entries[index];
    // A period ends where the next newer record starts, even when that
    // record's entry was trimmed from the selector.
    const QString end = entry.rank == 0 ? list.downloadText : list.validTexts[entry.rank - 1];
    return QStringLiteral("Parameter    ") + entry.text + QStringLiteral("  to  ") + end;
}

int bandRingEntry(const ParamBlockTable &block, int rank)
{
    const int newest = block[block::BandRingNewestTens] * 10 + block[block::BandRingNewestUnits];
    if (newest < 1 || newest > BandRingEntries || rank < 0 || rank >= BandRingEntries)
        return -1;
    int entry = newest - 1 - rank;
    if (entry < 0)
        entry += BandRingEntries;
    return entry;
}

SheetTexts periodSheet(const Store &store, const PeriodList &list, int index)
{
    SheetTexts texts;
    if (index < 0 || index >= list.entries.size())
        return texts;
    const PeriodEntry &entry = list.entries[index];
    const ParamValues v = valuesFromRecord(store.Param_History, entry.row);
    const qint16 version = store.Device_Version;

    texts.filterCardPresent = v.measurement().filterCard || version == Version35 || version == VersionKvl36;
    setCommonTexts(texts, v, true);
    texts.regulation =
        regulationText(store.Param_History(entry.row, HistoryRegulationField) & RegulationNormalBit);

    if (!isKvl36(store)) {
        for (std::size_t band = 0; band < 7; ++band)
            texts.bandValues[band] = attenuationText(v.bands[band]);
        return texts;
    }
    const int ringEntry = bandRingEntry(store.Param_Block, entry.rank);
    if (ringEntry < 0) {
        // The ring no longer holds this period's band levels.
        for (QString &value : texts.bandValues)
            value = QString::fromLatin1(NoCard);
        texts.correlation = QStringLiteral("");
        return texts;
    }
    int values[8];
    for (int k = 0; k < 8; ++k)
        values[k] = store.Param_Block[BandRingFirstElement + block::BandRingEntrySize * ringEntry + k];
    setKvl36Bands(texts, values);
    return texts;
}

} // namespace kvl
