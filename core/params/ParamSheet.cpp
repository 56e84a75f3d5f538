#include "params/ParamSheet.h"

#include "store/Names.h"
#include "store/RecordDate.h"
#include "tables/Firmware.h"

namespace kvl {

const std::array<const char *, 7> BandCaptionNames = {"Label11", "Label12", "Label14", "Label15",
                                                      "Label16", "Label17", "Label18"};
const std::array<const char *, 7> BandValueNames = {"Label_Att_63",  "Label_Att_125", "Label_Att_250",
                                                    "Label_Att_500", "Label_Att_1k",  "Label_Att_2k",
                                                    "Label_Att_4k"};

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
    texts.Label19 = correlationText(values[6]);
}

// The texts every sheet shares, current or period (levels to band values).
void setCommonTexts(SheetTexts &texts, const ParamValues &v, bool periodSelected)
{
    // Line regulation (pair 4) is capped; the other levels show as they are.
    QString *levelLabels[] = {&texts.Label_Niveau_Leq_Jour,
                              &texts.Label_Niveau_Leq_Jour_Fenetre,
                              &texts.Label_Niveau_Leq_Nuit,
                              &texts.Label_Niveau_Leq_Nuit_Fenetre,
                              nullptr,
                              &texts.Label_Niveau_Public,
                              &texts.Label_Niveau_Capteur};
    for (int k = 0; k < 7; ++k)
        if (levelLabels[k])
            *levelLabels[k] = levelText(v.levels[k][0], v.levels[k][1]);
    texts.Label_Niveau_Regul_Ligne = lineRegulationText(v.levels[4][0], v.levels[4][1]);
    texts.Label_Heure_Jour_Nuit = hourText(v.hourDayNight);
    texts.Label_Heure_Nuit_Jour = hourText(v.hourNightDay);
    const Measurement m = v.measurement();
    texts.Label_Analyse = analysisText(m.analysis, periodSelected);
    texts.Label2 =
        texts.filterCardPresent ? QStringLiteral("Filter card Parameters") : QStringLiteral("No Filter card");
    texts.Label_Source = sourceText(m.source, m.sourceWeighting);
    texts.Label_Temps_de_Montee = attackText(v.attack);
    texts.Label_Temps_de_Descente = releaseText(v.release);
    texts.Label_Attenuation_Sortie = outputReductionText(v.halfStep, v.reduction);
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

QList<std::pair<QString, QString>> SheetTexts::labels() const
{
    QList<std::pair<QString, QString>> out;
    auto add = [&out](const char *name, const QString &text) {
        if (!text.isNull())
            out.append({QString::fromLatin1(name), text});
    };
    add("Label_Version_FirmWare", Label_Version_FirmWare);
    add("Label_Numero_Serie", Label_Numero_Serie);
    add("Label_Niveau_Leq_Jour", Label_Niveau_Leq_Jour);
    add("Label_Niveau_Leq_Jour_Fenetre", Label_Niveau_Leq_Jour_Fenetre);
    add("Label_Niveau_Leq_Nuit", Label_Niveau_Leq_Nuit);
    add("Label_Niveau_Leq_Nuit_Fenetre", Label_Niveau_Leq_Nuit_Fenetre);
    add("Label_Niveau_Public", Label_Niveau_Public);
    add("Label_Niveau_Capteur", Label_Niveau_Capteur);
    add("Label_Heure_Jour_Nuit", Label_Heure_Jour_Nuit);
    add("Label_Heure_Nuit_Jour", Label_Heure_Nuit_Jour);
    add("Label_Fonctionnement_Regul", Label_Fonctionnement_Regul);
    add("Label_Analyse", Label_Analyse);
    add("Label_Source", Label_Source);
    add("Label_Temps_de_Montee", Label_Temps_de_Montee);
    add("Label_Temps_de_Descente", Label_Temps_de_Descente);
    add("Label_Attenuation_Sortie", Label_Attenuation_Sortie);
    add("Label_Niveau_Regul_Ligne", Label_Niveau_Regul_Ligne);
    add("Label2", Label2);
    for (std::size_t band = 0; band < 7; ++band) {
        add(BandCaptionNames[band], bandCaptions[band]);
        add(BandValueNames[band], bandValues[band]);
    }
    add("Label19", Label19);
    return out;
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
    texts.Label_Version_FirmWare = firmwareVersionText(store);
    Lire_Numero_Serie(store);
    texts.Label_Numero_Serie = store.Serial_Number;

    const bool normal = !isVersion5Family(version) || (block[block::RegulationMode] & RegulationNormalBit);
    texts.Label_Fonctionnement_Regul = regulationText(normal);
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

QString downloadText(const QString &transferDate, const QString &transferTime)
{
    return Nom_Jour(transferDate) + QLatin1Char(' ') + transferDate.mid(0, 2) + QLatin1Char(' ') +
           Nom_Mois(transferDate.mid(3, 2).toInt()) + QLatin1Char(' ') + transferDate.mid(6, 4) +
           QStringLiteral("  at  ") + transferTime.mid(0, 2) + QStringLiteral(" : ") + transferTime.mid(3, 2);
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
    list.downloadText = downloadText(store.Transfer_Date, store.Transfer_Time);
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
    texts.Label_Fonctionnement_Regul =
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
        texts.Label19 = QStringLiteral("");
        return texts;
    }
    int values[8];
    for (int k = 0; k < 8; ++k)
        values[k] = store.Param_Block[BandRingFirstElement + block::BandRingEntrySize * ringEntry + k];
    setKvl36Bands(texts, values);
    return texts;
}

} // namespace kvl
