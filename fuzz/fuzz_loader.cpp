// libFuzzer target for the data file loader: any byte sequence must give a
// loaded store or a message, never a crash, a hang or a write out of range.
//
// Byte-level mutations of a small input never get past the first table line,
// and those of a whole file mostly break its first value. So half of the
// mutations edit one value of the file in place (a boundary value, a wrong
// length, a letter, a missing or extra line break) or cut it at a line
// break: a valid file seeds them (the samples), and the edits reach every
// table and the date line.

#include "files/DataFile.h"
#include "store/Store.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

// What a value may become.
const char *const Replacements[] = {"0",   "9",     "10",    "99",    "100",  "159", "160",
                                    "254", "255",   "256",   "999",   "1000", "",    "-1",
                                    "1a",  "0\r\n", "\r\n0", "00000", " ",    "\xE9"};

// Replaces bytes [at, at + length) of the input by `text`, within maxSize.
size_t splice(uint8_t *data, size_t size, size_t maxSize, size_t at, size_t length, const char *text)
{
    const size_t n = std::strlen(text);
    if (size - length + n > maxSize)
        return size;
    std::memmove(data + at + n, data + at + length, size - at - length);
    std::memcpy(data + at, text, n);
    return size - length + n;
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand rng(seed);
    if (size < 64 || rng() % 2 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    // A value: a run of characters between two blanks, somewhere in the file.
    const size_t from = rng() % size;
    size_t start = from;
    while (start < size && data[start] != ' ')
        ++start;
    if (start + 1 >= size)
        return LLVMFuzzerMutate(data, size, maxSize);
    ++start;
    size_t end = start;
    while (end < size && data[end] != ' ')
        ++end;
    if (rng() % 8 == 0) {
        // Cut the file at the next line break.
        while (end < size && data[end] != '\n')
            ++end;
        return end < size ? end + 1 : size;
    }
    const char *text = Replacements[rng() % (sizeof Replacements / sizeof *Replacements)];
    return splice(data, size, maxSize, start, end - start, text);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static kvl::Store store;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const kvl::LoadOutcome out = kvl::readDataFile(bytes, store);
    const bool loaded = out.result == kvl::LoadOutcome::Loaded;
    // The outcome and the store agree, and every failure has its message and its detail.
    if (loaded != store.Data_Loaded ||
        (!loaded && (out.text.isEmpty() || out.caption.isEmpty() || out.detail.problem.isEmpty())))
        std::abort();
    if (loaded && kvl::versionOfMarker(kvl::writtenMarker(store.Device_Version)) != store.Device_Version)
        std::abort();
    return 0;
}
