#pragma once

// One run of the transfer routine against a recorded line: the fuzz target
// and the corpus replay of the tests share it.
//
// The input is a tape. Byte 0 picks the firmware (3.5, 4.0, 5.X, KVL 36);
// then arrivals follow: one byte of delay (x 16 ms after the previous
// arrival), two bytes of length (little endian), that many bytes (fewer when
// the tape ends). Bytes that arrive while the port is closed are lost. The
// device hears nothing: the tape is what the line carries, whatever the
// program sends.

#include "link/Decode.h"
#include "link/ImageCheck.h"
#include "link/SerialLine.h"
#include "link/Transfer.h"
#include "store/Store.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kvl::tape {

struct Arrival
{
    qint64 at;
    QByteArray bytes;
};

class TapeLine : public SerialLine
{
public:
    std::vector<Arrival> arrivals;
    std::size_t next = 0;
    qint64 now = 0;
    QByteArray input;
    bool opened = false;
    // What reached the program after the last command of each kind.
    QByteArray afterImageCommand, afterParamCommand;
    quint8 lastCommand = 0;

    void advance(qint64 ms)
    {
        now = ms;
        while (next < arrivals.size() && arrivals[next].at <= now) {
            if (opened) {
                input += arrivals[next].bytes;
                (lastCommand == 0x03 ? afterParamCommand : afterImageCommand) += arrivals[next].bytes;
            }
            ++next;
        }
    }
    qint64 lastArrival() const { return arrivals.empty() ? 0 : arrivals.back().at; }

    void setPort(int) override {}
    int port() const override { return 1; }
    void setSettings(const QString &) override {}
    void setDtr(bool) override {}
    bool open() override
    {
        opened = true;
        return true;
    }
    void close() override
    {
        opened = false;
        clearInput();
    }
    bool isOpen() const override { return opened; }
    int inBufferCount() override { return int(input.size()); }
    void clearInput() override
    {
        // Thrown away: no longer part of any answer.
        (lastCommand == 0x03 ? afterParamCommand : afterImageCommand).chop(input.size());
        input.clear();
    }
    QByteArray readAll() override
    {
        QByteArray out;
        out.swap(input);
        return out;
    }
    bool writeByte(quint8 byte) override
    {
        if (!opened)
            return false;
        lastCommand = byte;
        (byte == 0x03 ? afterParamCommand : afterImageCommand).clear();
        input.clear();
        return true;
    }
    bool lost() const override { return false; }
};

inline int versionOf(uint8_t b)
{
    static const int versions[] = {Version35, Version40, Version5X, VersionKvl36};
    return versions[b % 4];
}

// Byte 0 of a tape for a version.
inline uint8_t versionByte(int version)
{
    for (uint8_t b = 0; b < 4; ++b)
        if (versionOf(b) == version)
            return b;
    return 0;
}

// One arrival, `delay` x 16 ms after the previous one; at most 65535 bytes.
inline void appendArrival(QByteArray &tape, uint8_t delay, const QByteArray &bytes)
{
    tape.append(char(delay));
    tape.append(char(bytes.size() & 0xFF));
    tape.append(char((bytes.size() >> 8) & 0xFF));
    tape.append(bytes);
}

inline void readTape(const uint8_t *data, std::size_t size, TapeLine &line)
{
    qint64 at = 0;
    std::size_t i = 1;
    while (i + 3 <= size) {
        at += qint64(data[i]) * 16;
        const std::size_t length = std::size_t(data[i + 1]) | std::size_t(data[i + 2]) << 8;
        i += 3;
        const std::size_t n = std::min(length, size - i);
        line.arrivals.push_back({at, QByteArray(reinterpret_cast<const char *>(data + i), qsizetype(n))});
        i += n;
    }
}

// Runs the tape; nullptr when every rule held, else the rule broken.
inline const char *runTape(const uint8_t *data, std::size_t size, Store &store)
{
    if (size == 0)
        return nullptr;
    TapeLine line;
    readTape(data, size, line);
    store.Device_Version = qint16(versionOf(data[0]));
    store.Com_Port = 1;
    store.Data_Loaded = false;
    Transfer transfer(store, line, TransferHooks{});
    transfer.start(0);
    // Every wait of the routine is bounded: after the last arrival it must
    // end within the quiet limit, the attempts, the silence and the final waits.
    const qint64 limit = line.lastArrival() + Transfer::QuietLimitMs + 4 * 1000 + Transfer::SilenceMs + 20000;
    qint64 now = 0;
    for (;;) {
        line.advance(now);
        if (!transfer.step(now))
            break;
        if (now > limit)
            return "the transfer did not end";
        // Millisecond steps near arrivals, coarser ones in long silences.
        const bool near = line.next < line.arrivals.size() && line.arrivals[line.next].at - now < 50;
        now += near ? 1 : 7;
    }
    if (line.isOpen())
        return "the port was left open";
    if (store.Data_Loaded == store.Cancel_Flag)
        return "loaded and cancelled disagree";
    if (!store.Data_Loaded)
        return nullptr;
    // Loaded: the bytes after the command were exactly a whole, plausible image.
    const TransferVariant v = transferVariant(store.Device_Version);
    if (line.afterImageCommand.size() != v.imageSize)
        return "loaded from more or fewer bytes than an image";
    if (transfer.buffer().left(v.imageSize) != line.afterImageCommand.left(v.imageSize))
        return "loaded bytes that did not come after the command";
    if (checkImage(line.afterImageCommand, store.Device_Version) != ImageFault::None)
        return "loaded an implausible image";
    if (v.parameterExchange && (line.afterParamCommand.size() != ParamAnswerSize ||
                                checkParameterAnswer(line.afterParamCommand) != ImageFault::None))
        return "loaded without a whole parameter answer";
    return nullptr;
}

// A tape on which the device answers the image command with the whole
// `image`, in arrivals of a few kilobytes, and (firmware 3.5) the parameter
// command with `answer`: the first answer delays with which the transfer
// loads it. Empty when none does. Byte mutations of a small tape never grow
// it to a whole image, so the fuzzer starts from these to reach decoding.
inline QByteArray wholeImageTape(int version, const QByteArray &image, const QByteArray &answer)
{
    constexpr int Piece = 8192;
    auto build = [&](uint8_t imageDelay, uint8_t answerDelay) {
        QByteArray tape(1, char(versionByte(version)));
        for (qsizetype at = 0; at < image.size(); at += Piece)
            appendArrival(tape, at == 0 ? imageDelay : 2, image.mid(at, Piece));
        if (!answer.isEmpty())
            appendArrival(tape, answerDelay, answer);
        return tape;
    };
    auto loads = [](const QByteArray &tape) {
        auto store = std::make_unique<Store>();
        return !runTape(reinterpret_cast<const uint8_t *>(tape.constData()), std::size_t(tape.size()),
                        *store) &&
               store->Data_Loaded;
    };
    // The image command goes out once the line has been quiet (QuietMs).
    for (int imageDelay = Transfer::QuietMs / 16 + 2; imageDelay < 256; ++imageDelay) {
        // Without a parameter exchange the answer's delay does not matter.
        for (int answerDelay = 1; answerDelay < (answer.isEmpty() ? 2 : 256); ++answerDelay) {
            const QByteArray tape = build(uint8_t(imageDelay), uint8_t(answerDelay));
            if (loads(tape))
                return tape;
        }
    }
    return QByteArray();
}

} // namespace kvl::tape
