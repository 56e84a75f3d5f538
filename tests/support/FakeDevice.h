#pragma once

// An in-process device on a fake serial line, driven by a fake clock: it
// answers command 0x01 with its memory image and 0x03 with the parameter
// answer, at a given pace, with the faults the tests ask for.

#include "link/SerialLine.h"

#include <QList>
#include <QSet>
#include <QStringList>

namespace kvl::test {

class FakeDevice : public SerialLine
{
public:
    // What the device sends.
    QByteArray image;       // answer to 0x01
    QByteArray paramAnswer; // answer to 0x03 (firmware 3.5)
    // It answers the n-th command of each kind; 0 = never.
    int answerOnAttempt = 1;
    int paramAnswerOnAttempt = 1;
    // Pace and delay of the answer.
    int bytesPerMs = 6;
    int latencyMs = 3;
    // Faults: stop after this many bytes of the image (-1 = all); extra
    // bytes after the image; the port vanishes after this many bytes of the
    // image have been delivered (-1 = never).
    int stopAfter = -1;
    QByteArray extra;
    int vanishAfter = -1;
    // Ports that can be opened (empty = all).
    QSet<int> availablePorts;

    // The time the device and the line see, in milliseconds. Bytes due by
    // then arrive, as the event loop of the program would take them in.
    void setNow(qint64 ms)
    {
        m_now = ms;
        pump();
    }
    // Makes the port vanish now.
    void vanish();

    // What the program did: one text per call ("port 3", "settings
    // 4800,N,8,1", "dtr 0", "open", "write 01", "close", "clear", "read").
    QStringList calls;
    QList<quint8> commands;
    QList<qint64> commandTimes;

    // SerialLine
    void setPort(int number) override;
    int port() const override { return m_port; }
    void setSettings(const QString &settings) override;
    void setDtr(bool on) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    int inBufferCount() override;
    void clearInput() override;
    QByteArray readAll() override;
    bool writeByte(quint8 byte) override;
    bool lost() const override { return m_lost; }

private:
    void pump();
    void goAway();

    qint64 m_now = 0;
    int m_port = 0;
    bool m_open = false;
    bool m_lost = false;
    bool m_gone = false;
    QByteArray m_input;
    QByteArray m_stream;
    qint64 m_streamStart = 0;
    int m_sent = 0;
    bool m_streamIsImage = false;
    int m_imageCommands = 0;
    int m_paramCommands = 0;
};

} // namespace kvl::test
