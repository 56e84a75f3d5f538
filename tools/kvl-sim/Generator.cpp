#include "Generator.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kvlsim {

namespace {

// Plain modulo keeps the images identical on every standard library.
class Rng
{
public:
    explicit Rng(quint32 seed) : m_gen(seed) {}
    int range(int lo, int hi) { return lo + int(m_gen() % quint32(hi - lo + 1)); }
    bool chance(int percent) { return range(0, 99) < percent; }

private:
    std::mt19937 m_gen;
};

int decodeBcd(int b)
{
    return b <= 159 ? (b >> 4) * 10 + (b & 0x0F) : b;
}

// The settings of the device at one moment.
struct Params
{
    bool normal = true;
    int analysis = 28; // A weighted, filter card fitted
    int source = 12;   // sensor, A weighted
    int attack = 2, release = 3, halfStep = 0, reduction = 3;
    std::array<int, 7> bands{}; // 63 Hz .. 4 kHz (KVL 24-2 attenuations)
    int leqDay = 102, leqDayOpen = 97, leqNight = 99, leqNightOpen = 94;
    int lineReg = 40, publicLevel = 98, sensorLevel = 90;
    int hourDayNight = 22, hourNightDay = 7;

    bool isNight(int hour) const
    {
        if (hourDayNight > hourNightDay)
            return hour >= hourDayNight || hour < hourNightDay;
        return hour >= hourDayNight && hour < hourNightDay;
    }
    int threshold(int hour, bool doorOpen) const
    {
        if (isNight(hour))
            return doorOpen ? leqNightOpen : leqNight;
        return doorOpen ? leqDayOpen : leqDay;
    }
};

// A record being built: its minute since the first day's midnight, the
// order in which it was made, its bytes and its decoded fields.
template <int N> struct Rec
{
    qint64 minute = 0;
    int seq = 0;
    std::array<quint8, N> bytes{};
    std::array<qint16, N> fields{};
    bool valid = true;
};

class Builder
{
public:
    Builder(int version, quint32 seed, int weeks)
        : m_version(version), m_rng(seed ^ 0x4B564C00u), m_weeks(weeks)
    {
        m_first = QDate(2026, 9, 1).addDays(qint64(seed % 61));
    }

    DeviceMemory build();
    DeviceHistory buildHistory(int everyWeeks);

private:
    Params initialParams();
    void simulateDays(Params &p, int days);
    DeviceMemory memoryAt(qint64 cut, const Params &p, const std::array<int, 3> &ringStart);
    void finishMemory(DeviceMemory &mem, const Params &p);
    qint64 clockOffset(qint64 minute) const;
    bool v5() const { return m_version == 5 || m_version == 70; }
    void stamp(qint64 minute, qint16 *f, quint8 *b) const;
    void addLeq(qint64 minute, int kind, int level, bool corrupt = false);
    void addEvent(qint64 minute, int a, int b);
    void addHistory(qint64 minute, const Params &p);
    void changeParams(Params &p);
    void simulateNight(qint64 dayStart, Params &p);
    QByteArray paramArea(const Params &p);

    template <int N>
    void writeRing(QByteArray &image, int offset, int capacity, std::vector<Rec<N>> recs,
                   std::vector<std::array<qint16, N>> &expected, int start = -1);

    int m_version;
    Rng m_rng;
    int m_weeks;
    QDate m_first;
    int m_seq = 0;
    bool m_corruptDone = false;
    std::vector<Rec<8>> m_leq, m_events;
    std::vector<Rec<48>> m_history;
    // History mode: clock changes (minute, shift of the device clock in
    // minutes from then on), parameters in force from a minute on, and one
    // serial number for every download.
    std::vector<std::pair<qint64, int>> m_clockChanges;
    std::vector<std::pair<qint64, Params>> m_paramsFrom;
    bool m_keepSerial = false;
    std::array<int, 8> m_serial{};
    bool m_serialDrawn = false;
};

qint64 Builder::clockOffset(qint64 minute) const
{
    qint64 offset = 0;
    for (const auto &c : m_clockChanges)
        if (c.first <= minute)
            offset += c.second;
    return offset;
}

void Builder::stamp(qint64 minute, qint16 *f, quint8 *b) const
{
    minute += clockOffset(minute);
    const QDate d = m_first.addDays(minute / 1440);
    const int m = int(minute % 1440);
    const int v[6] = {m % 60, m / 60, d.day(), d.dayOfWeek(), d.month(), d.year() % 100};
    for (int i = 0; i < 6; ++i) {
        f[i] = qint16(v[i]);
        b[i] = toBcd(v[i]);
    }
}

void Builder::addLeq(qint64 minute, int kind, int level, bool corrupt)
{
    Rec<8> r;
    r.minute = minute;
    r.seq = m_seq++;
    stamp(minute, r.fields.data(), r.bytes.data());
    if (v5()) {
        // Field 4 carries the kind on these firmwares.
        r.fields[3] = qint16(kind);
        r.bytes[3] = toBcd(kind);
    }
    r.fields[6] = qint16(level % 100);
    r.fields[7] = qint16(level / 100);
    r.bytes[6] = toBcd(level % 100);
    r.bytes[7] = toBcd(level / 100);
    if (corrupt) {
        // Power lost while the record was written.
        r.bytes[6] = 0xFF;
        r.valid = false;
    }
    m_leq.push_back(r);
}

void Builder::addEvent(qint64 minute, int a, int b)
{
    Rec<8> r;
    r.minute = minute;
    r.seq = m_seq++;
    stamp(minute, r.fields.data(), r.bytes.data());
    r.fields[6] = qint16(a);
    r.fields[7] = qint16(b);
    r.bytes[6] = quint8(a);
    r.bytes[7] = quint8(b);
    m_events.push_back(r);
}

void Builder::addHistory(qint64 minute, const Params &p)
{
    Rec<48> r;
    r.minute = minute;
    r.seq = m_seq++;
    stamp(minute, r.fields.data(), r.bytes.data());
    auto setBcd = [&r](int field, int value) {
        r.fields[std::size_t(field - 1)] = qint16(value);
        r.bytes[std::size_t(field - 1)] = toBcd(value);
    };
    for (int f = 9; f <= 48; ++f)
        setBcd(f, 0);
    // Field 7 is the analysis configuration with the regulation flag in bit 6.
    const int analysis = p.analysis | (p.normal ? 64 : 0);
    r.fields[6] = qint16(analysis);
    r.bytes[6] = quint8(analysis);
    r.fields[7] = qint16(p.source);
    r.bytes[7] = quint8(p.source);
    setBcd(10, p.attack);
    setBcd(12, p.release);
    setBcd(13, p.halfStep);
    setBcd(14, p.reduction);
    for (int i = 0; i < 7; ++i)
        setBcd(16 + 2 * i, p.bands[std::size_t(i)]);
    const int levels[7] = {p.leqDay,  p.leqDayOpen,  p.leqNight,   p.leqNightOpen,
                           p.lineReg, p.publicLevel, p.sensorLevel};
    for (int i = 0; i < 7; ++i) {
        setBcd(29 + 2 * i, levels[i] / 100);
        setBcd(30 + 2 * i, levels[i] % 100);
    }
    setBcd(44, p.hourDayNight);
    setBcd(46, p.hourNightDay);
    m_history.push_back(r);
}

void Builder::changeParams(Params &p)
{
    p.leqDay = std::clamp(p.leqDay + m_rng.range(-3, 3), 90, 105);
    p.leqNight = std::clamp(p.leqNight + m_rng.range(-3, 3), 88, 103);
    p.leqDayOpen = p.leqDay - m_rng.range(3, 6);
    p.leqNightOpen = p.leqNight - m_rng.range(3, 6);
    if (m_rng.chance(40))
        p.hourDayNight = m_rng.range(20, 23);
    if (m_rng.chance(40))
        p.hourNightDay = m_rng.range(6, 9);
    if (m_rng.chance(30))
        p.attack = m_rng.range(0, 7);
    if (m_rng.chance(30))
        p.release = m_rng.range(0, 7);
    if (m_rng.chance(20))
        p.normal = !p.normal;
}

// One evening and night of a venue, from the day's midnight.
void Builder::simulateNight(qint64 dayStart, Params &p)
{
    const qint64 open = dayStart + 20 * 60 + m_rng.range(0, 90);
    const qint64 close = dayStart + 24 * 60 + 120 + m_rng.range(0, 150);
    bool door = false;
    std::vector<std::pair<qint64, bool>> doorChanges; // minute, open
    if (v5()) {
        const qint64 arrive = open - m_rng.range(10, 40);
        doorChanges.push_back({arrive, true});
        doorChanges.push_back({arrive + m_rng.range(2, 15), false});
        for (int k = m_rng.range(0, 3); k > 0; --k) {
            const qint64 at = m_rng.range(int(open - dayStart) + 20, int(close - dayStart) - 30) + dayStart;
            doorChanges.push_back({at, true});
            doorChanges.push_back({at + m_rng.range(1, 10), false});
        }
        doorChanges.push_back({close + 5, true});
        doorChanges.push_back({close + m_rng.range(10, 25), false});
        std::sort(doorChanges.begin(), doorChanges.end());
        for (const auto &c : doorChanges)
            addEvent(c.first, 0, c.second ? 32 : 64);
    }

    const int base = m_rng.range(86, 96);
    double level = 72;
    std::vector<double> last; // minute levels of the current ten minutes
    bool exceeded = false;
    std::size_t nextDoor = 0;
    for (qint64 m = open; m < close; ++m) {
        while (nextDoor < doorChanges.size() && doorChanges[nextDoor].first <= m)
            door = doorChanges[nextDoor++].second;
        level += m_rng.range(-3, 3) + (base - level) / 4.0;
        if (m_rng.chance(3))
            level += m_rng.range(5, 12);
        level = std::clamp(level, 60.0, 110.0);
        const int whole = int(std::lround(level));
        last.push_back(level);
        const int hour = int((m % 1440) / 60);
        if (m % 10 == 0 && last.size() >= 5) {
            double energy = 0;
            for (double l : last)
                energy += std::pow(10.0, l / 10.0);
            const int leq =
                std::clamp(int(std::lround(10.0 * std::log10(energy / double(last.size())))), 0, 110);
            if (leq >= 70)
                addLeq(m, 10, leq);
            last.clear();
            if (!m_corruptDone && m > m_rng.range(2, 5) * 1440) {
                addLeq(m, 10, leq, true);
                m_corruptDone = true;
            }
        }
        if (v5() && whole > p.threshold(hour, door))
            addLeq(m, 1, whole);
        if (whole >= 106 && !exceeded) {
            exceeded = true;
            addEvent(m, 16, 0);
            addEvent(m + m_rng.range(1, 3), 0, 16);
        }
    }
}

QByteArray Builder::paramArea(const Params &p)
{
    using namespace kvl::block;
    QByteArray a(kvl::ParamBlockSize, char(0));
    auto raw = [&a](int i, int v) { a[i] = char(quint8(v)); };
    auto bcd = [&a](int i, int v) { a[i] = char(toBcd(v)); };
    raw(RegulationMode, p.normal ? RegulationNormalBit : 0);
    raw(Analysis, p.analysis);
    raw(Source, p.source);
    if (m_version == 5) {
        raw(FirmwareMajor, 172); // 5
        raw(FirmwareMinor, 76);  // .2
    } else if (m_version == 70) {
        raw(FirmwareMajor, 140); // 1
        raw(FirmwareMinor, 204); // .3
    }
    bcd(Attack, p.attack);
    bcd(Release, p.release);
    bcd(OutputHalfStep, p.halfStep);
    bcd(OutputReduction, p.reduction);
    for (int i = 0; i < 7; ++i)
        bcd(FirstBand + 2 * i, p.bands[std::size_t(i)]);
    if (m_version == 70) {
        // Band levels 125 Hz .. 4 kHz, L/C correlation, 63 Hz.
        for (int i = 0; i < 6; ++i)
            bcd(FirstBand + 2 * i, m_rng.range(20, 40));
        bcd(FirstBand + 12, m_rng.range(25, 35));
        bcd(FirstBand + 14, m_rng.chance(20) ? 84 : m_rng.range(20, 40));
        const int newest = m_rng.range(1, BandRingEntries);
        bcd(BandRingNewestUnits, newest % 10);
        bcd(BandRingNewestTens, newest / 10);
        for (int e = 0; e < BandRingEntries; ++e)
            for (int k = 0; k < BandRingEntrySize; ++k)
                bcd(BandRingFirst + BandRingEntrySize * e + k,
                    k == 6 ? m_rng.range(25, 35) : m_rng.range(20, 40));
    }
    const int levels[7] = {p.leqDay,  p.leqDayOpen,  p.leqNight,   p.leqNightOpen,
                           p.lineReg, p.publicLevel, p.sensorLevel};
    for (int i = 0; i < 7; ++i) {
        bcd(LeqDay + 2 * i, levels[i] / 100);
        bcd(LeqDay + 2 * i + 1, levels[i] % 100);
    }
    bcd(HourDayNight, p.hourDayNight);
    bcd(HourNightDay, p.hourNightDay);
    if (!m_keepSerial || !m_serialDrawn) {
        m_serial = {m_version == 70 ? 36 : 24, 2, m_rng.range(0, 99), m_rng.range(0, 99),
                    m_rng.range(0, 9),         0, m_rng.range(1, 99), m_rng.range(0, 99)};
        m_serialDrawn = true;
    }
    for (int i = 0; i < 8; ++i)
        bcd(SerialFirst + i, m_serial[std::size_t(i)]);
    return a;
}

template <int N>
void Builder::writeRing(QByteArray &image, int offset, int capacity, std::vector<Rec<N>> recs,
                        std::vector<std::array<qint16, N>> &expected, int start)
{
    std::stable_sort(recs.begin(), recs.end(), [](const Rec<N> &x, const Rec<N> &y) {
        return x.minute != y.minute ? x.minute < y.minute : x.seq < y.seq;
    });
    // The device writes in time order from wherever its pointer stood,
    // wrapping round and overwriting its oldest records.
    // The pointer stands where the records of this period wrap past the
    // end of the ring, as in a device that has been running for a while.
    std::vector<int> slot(std::size_t(capacity), -1);
    const int count = int(recs.size());
    int pos = start >= 0                       ? start
              : count >= 4 && count < capacity ? capacity - m_rng.range(count / 4, 3 * count / 4)
                                               : m_rng.range(0, capacity - 1);
    for (std::size_t i = 0; i < recs.size(); ++i) {
        slot[std::size_t(pos)] = int(i);
        pos = (pos + 1) % capacity;
    }
    std::vector<const Rec<N> *> kept;
    for (int s = 0; s < capacity; ++s) {
        char *dst = image.data() + offset + s * N;
        if (slot[std::size_t(s)] < 0) {
            std::fill(dst, dst + N, char(0xFF));
            continue;
        }
        const Rec<N> &r = recs[std::size_t(slot[std::size_t(s)])];
        std::copy(r.bytes.begin(), r.bytes.end(), dst);
        if (r.valid)
            kept.push_back(&r);
    }
    // Chronological order; equal stamps keep their place in the ring.
    std::stable_sort(kept.begin(), kept.end(), [](const Rec<N> *x, const Rec<N> *y) {
        for (int f : {5, 4, 2, 1, 0})
            if (x->fields[std::size_t(f)] != y->fields[std::size_t(f)])
                return x->fields[std::size_t(f)] < y->fields[std::size_t(f)];
        return false;
    });
    expected.clear();
    for (const Rec<N> *r : kept)
        expected.push_back(r->fields);
}

Params Builder::initialParams()
{
    Params p;
    p.normal = m_rng.chance(70);
    const int analyses[4] = {28, 24, 12, 4};
    p.analysis = m_version == 70 ? 28 : analyses[m_rng.range(0, 3)];
    p.source = m_rng.chance(80) ? 12 : 13;
    p.attack = m_rng.range(0, 7);
    p.release = m_rng.range(0, 7);
    p.halfStep = m_rng.chance(50) ? 50 : 0;
    p.reduction = m_rng.range(0, 12);
    for (int &b : p.bands)
        b = m_rng.range(0, 15);
    p.leqDay = m_rng.range(98, 104);
    p.leqDayOpen = p.leqDay - m_rng.range(3, 6);
    p.leqNight = m_rng.range(95, 100);
    p.leqNightOpen = p.leqNight - m_rng.range(3, 6);
    p.lineReg = m_rng.range(20, 70);
    p.publicLevel = m_rng.range(90, 105);
    p.sensorLevel = m_rng.range(80, 100);
    p.hourDayNight = m_rng.range(21, 23);
    p.hourNightDay = m_rng.range(6, 8);
    return p;
}

void Builder::simulateDays(Params &p, int days)
{
    // Installation on the first afternoon.
    const qint64 install = 14 * 60 + m_rng.range(0, 59);
    addEvent(install - 2, 0, 4);
    addEvent(install, 1, 0);
    addEvent(install + 5, 128, 0);
    if (v5())
        addHistory(install + 5, p);
    addEvent(install + 12, 2, 0);
    m_paramsFrom.push_back({0, p});

    int nextChange = m_rng.range(5, 10);
    for (int d = 0; d < days; ++d) {
        const qint64 dayStart = qint64(d) * 1440;
        const QDate date = m_first.addDays(d);
        if (d == nextChange) {
            const qint64 at = dayStart + 10 * 60 + m_rng.range(0, 300);
            addEvent(at, 1, 0);
            changeParams(p);
            m_paramsFrom.push_back({at + 4, p});
            addEvent(at + 4, 128, 0);
            if (v5()) {
                addHistory(at + 4, p);
                if (m_rng.chance(30))
                    addEvent(at + 6, 64, 0);
            }
            addEvent(at + 9, 2, 0);
            nextChange += m_rng.range(6, 12);
        }
        // Summer and winter time: last Sunday of March and October.
        if ((date.month() == 3 || date.month() == 10) && date.dayOfWeek() == 7 &&
            date.day() + 7 > date.daysInMonth())
            addEvent(dayStart + (date.month() == 3 ? 2 : 3) * 60, 8, 0);
        if (m_rng.chance(8)) {
            const qint64 cut = dayStart + m_rng.range(6 * 60, 18 * 60);
            addEvent(cut, 4, 0);
            addEvent(cut + m_rng.range(2, 30), 0, 4);
        }
        if (m_rng.chance(3)) {
            const qint64 at = dayStart + m_rng.range(9 * 60, 18 * 60);
            addEvent(at, 32, 0);
            addEvent(at + m_rng.range(1, 20), 0, 1);
        }
        const bool weekend = date.dayOfWeek() >= 4 && date.dayOfWeek() <= 6;
        if (weekend || m_rng.chance(30))
            simulateNight(dayStart, p);
    }
}

void Builder::finishMemory(DeviceMemory &mem, const Params &p)
{
    const kvl::VersionLayout layout = kvl::versionLayout(m_version);
    const QByteArray area = paramArea(p);
    using namespace kvl::block;
    mem.paramBlock.assign(kvl::ParamBlockSize, 0);
    if (m_version == 3) {
        mem.paramAnswer = area.mid(RawCopyFirst, RawCopyCount);
        mem.paramAnswer.append(char(quint8(p.analysis)));
        mem.paramAnswer.append(char(quint8(p.source)));
        mem.paramRaw.assign(kvl::ParamAnswerSize, 0);
        for (int k = 0; k < kvl::ParamAnswerSize; ++k) {
            const int b = quint8(mem.paramAnswer[k]);
            mem.paramRaw[std::size_t(k)] = qint16(k < RawCopyCount ? decodeBcd(b) : b);
        }
        std::fill(mem.paramBlock.begin(), mem.paramBlock.end(), qint16(255));
        for (int k = 0; k < RawCopyCount; ++k)
            mem.paramBlock[std::size_t(RawCopyFirst + k)] = mem.paramRaw[std::size_t(k)];
        mem.paramBlock[Analysis] = mem.paramRaw[RawCopyCount];
        mem.paramBlock[Source] = mem.paramRaw[RawCopyCount + 1];
    } else {
        mem.image.replace(layout.paramArea, kvl::ParamBlockSize, area);
        for (int i = 0; i < kvl::ParamBlockSize; ++i) {
            const int b = quint8(area[i]);
            mem.paramBlock[std::size_t(i)] = qint16(i < FirstBcd ? b : decodeBcd(b));
        }
    }
    for (const LeqRow &r : mem.leq)
        (r[kvl::field::Kind - 1] == kvl::KindLeq1 && v5() ? mem.leq1Count : mem.leq10Count)++;
}

DeviceMemory Builder::build()
{
    DeviceMemory mem;
    mem.version = m_version;
    const int days = std::max(1, m_weeks) * 7;
    mem.firstDay = m_first;
    mem.lastDay = m_first.addDays(days - 1);

    Params p = initialParams();
    simulateDays(p, days);

    const kvl::VersionLayout layout = kvl::versionLayout(m_version);
    mem.image = QByteArray(memorySize(m_version), char(0xFF));
    writeRing<8>(mem.image, 0, layout.leqRows, m_leq, mem.leq);
    writeRing<8>(mem.image, layout.eventArea, kvl::EventRows, m_events, mem.events);
    if (v5())
        writeRing<48>(mem.image, layout.historyArea, kvl::HistoryRows, m_history, mem.history);
    finishMemory(mem, p);
    return mem;
}

DeviceMemory Builder::memoryAt(qint64 cut, const Params &p, const std::array<int, 3> &ringStart)
{
    auto before = [cut](const auto &recs) {
        std::remove_cv_t<std::remove_reference_t<decltype(recs)>> kept;
        for (const auto &r : recs)
            if (r.minute < cut)
                kept.push_back(r);
        return kept;
    };
    DeviceMemory mem;
    mem.version = m_version;
    mem.firstDay = m_first;
    mem.lastDay = m_first.addDays(cut / 1440);
    const kvl::VersionLayout layout = kvl::versionLayout(m_version);
    mem.image = QByteArray(memorySize(m_version), char(0xFF));
    writeRing<8>(mem.image, 0, layout.leqRows, before(m_leq), mem.leq, ringStart[0]);
    writeRing<8>(mem.image, layout.eventArea, kvl::EventRows, before(m_events), mem.events, ringStart[1]);
    if (v5())
        writeRing<48>(mem.image, layout.historyArea, kvl::HistoryRows, before(m_history), mem.history,
                      ringStart[2]);
    finishMemory(mem, p);
    return mem;
}

DeviceHistory Builder::buildHistory(int everyWeeks)
{
    const int days = std::max(1, m_weeks) * 7;
    // The clock follows summer and winter time: set forward in March, back
    // in October, so an autumn night holds an hour of stamps twice.
    for (int d = 0; d < days; ++d) {
        const QDate date = m_first.addDays(d);
        if ((date.month() == 3 || date.month() == 10) && date.dayOfWeek() == 7 &&
            date.day() + 7 > date.daysInMonth())
            m_clockChanges.push_back(
                {qint64(d) * 1440 + (date.month() == 3 ? 2 : 3) * 60, date.month() == 3 ? 60 : -60});
    }
    m_keepSerial = true;
    Params p = initialParams();
    simulateDays(p, days);
    const kvl::VersionLayout layout = kvl::versionLayout(m_version);
    const std::array<int, 3> ringStart = {m_rng.range(0, layout.leqRows - 1),
                                          m_rng.range(0, kvl::EventRows - 1),
                                          m_rng.range(0, kvl::HistoryRows - 1)};
    DeviceHistory history;
    const int every = std::max(1, everyWeeks) * 7;
    for (int day = every; day <= days; day += every) {
        // Downloaded in the morning of that day.
        const qint64 cut = qint64(day) * 1440 + 9 * 60 + 41;
        Params inForce = m_paramsFrom.front().second;
        for (const auto &change : m_paramsFrom)
            if (change.first < cut)
                inForce = change.second;
        history.downloads.push_back(memoryAt(cut, inForce, ringStart));
        history.downloadDays.push_back(m_first.addDays(day));
    }
    // Every valid record made up to the last download.
    const qint64 end = history.downloads.empty() ? 0 : qint64(days / every * every) * 1440 + 9 * 60 + 41;
    for (const auto &r : m_leq)
        if (r.valid && r.minute < end)
            history.leq.push_back(r.fields);
    for (const auto &r : m_events)
        if (r.minute < end)
            history.events.push_back(r.fields);
    for (const auto &r : m_history)
        if (r.minute < end)
            history.history.push_back(r.fields);
    return history;
}

} // namespace

int memorySize(int version)
{
    switch (version) {
    case 3:
        return MemorySize35;
    case 4:
        return MemorySize40;
    case 5:
    case 70:
        return MemorySize5;
    default:
        return 0;
    }
}

DeviceMemory generateDevice(int version, quint32 seed, int weeks)
{
    if (memorySize(version) == 0)
        version = 5;
    return Builder(version, seed, weeks).build();
}

DeviceHistory generateHistory(int version, quint32 seed, int weeks, int everyWeeks)
{
    if (memorySize(version) == 0)
        version = 5;
    return Builder(version, seed, weeks).buildHistory(everyWeeks);
}

QByteArray generateImage(int version, quint32 seed, int weeks)
{
    return generateDevice(version, seed, weeks).decoderInput();
}

} // namespace kvlsim
