// Decoding, validation and sorting of a full firmware 5.X memory image laid
// out like the device's ring memory: records wrap around the ring, so the
// image is not in date order, and some slots are empty.

#include "link/Decode.h"
#include "store/Store.h"

#include <QByteArray>
#include <QDateTime>

#include <benchmark/benchmark.h>

#include <random>

using namespace kvl;

namespace {

int toBcd(int v)
{
    return ((v / 10) << 4) | (v % 10);
}

void putStamp(QByteArray &image, int offset, const QDateTime &t, int fourth)
{
    const QDate d = t.date();
    const QTime tm = t.time();
    const int bytes[6] = {tm.minute(), tm.hour(), d.day(), fourth, d.month(), d.year() - 2000};
    for (int i = 0; i < 6; ++i)
        image[offset + i] = char(toBcd(bytes[i]));
}

QByteArray ringImage()
{
    QByteArray image(ImageSize5, char(0xFF));
    std::mt19937 rng(5);
    // Leq ring: newest records overwrite the oldest, so the write position
    // sits in the middle of the area.
    QDateTime t(QDate(2008, 3, 1), QTime(20, 0));
    const int start = 5000;
    for (int k = 0; k < 7800; ++k) {
        const int slot = (start + k) % 8192;
        if (rng() % 50 == 0)
            continue; // an empty slot
        const bool leq1 = rng() % 3 == 0;
        putStamp(image, slot * 8, t, leq1 ? 1 : 10);
        const int level = 70 + int(rng() % 45);
        image[slot * 8 + 6] = char(toBcd(level % 100));
        image[slot * 8 + 7] = char(toBcd(level / 100));
        t = t.addSecs(leq1 ? 60 : 600);
        if (t.time().hour() == 4)
            t = t.addSecs(16 * 3600); // venues are quiet during the day
    }
    QDateTime e(QDate(2008, 3, 1), QTime(18, 0));
    for (int k = 0; k < 3500; ++k) {
        const int slot = (1200 + k) % 4096;
        putStamp(image, EventArea + slot * 8, e, 0);
        image[EventArea + slot * 8 + 6] = char(1 << (rng() % 8));
        image[EventArea + slot * 8 + 7] = char(rng() % 4);
        e = e.addSecs(1800 + int(rng() % 3600));
    }
    QDateTime h(QDate(2008, 1, 1), QTime(9, 0));
    for (int k = 0; k < 600; ++k) {
        const int slot = (300 + k) % 682;
        QByteArray rec(48, char(0x00));
        image.replace(HistoryArea5 + slot * 48, 48, rec);
        putStamp(image, HistoryArea5 + slot * 48, h, 0);
        h = h.addSecs(3600 * 7);
    }
    return image;
}

void BM_DecodeAndSort5X(benchmark::State &state)
{
    const QByteArray image = ringImage();
    auto store = std::make_unique<Store>();
    store->Device_Version = Version5X;
    int calls = 0;
    const ProgressFn progress = [&calls] { ++calls; };
    for (auto _ : state) {
        store->Cancel_Flag = false;
        decodeImage(*store, image, progress);
        Tri_Leq(*store, progress);
        Tri_Evenements(*store, progress);
        Tri_Historique(*store, progress);
        benchmark::DoNotOptimize(store->Leq_Records(1, 1));
    }
    state.counters["progress_calls"] = double(calls) / double(state.iterations());
}
BENCHMARK(BM_DecodeAndSort5X)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
