#pragma once

// An in-process device on a fake serial line, driven by a fake clock: it
// answers command 0x01 with its memory image and 0x03 with the parameter
// answer, at a given pace, with the faults the tests ask for.

#include "link/SerialLine.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace kvl::test {

class FakeDevice : public SerialLine
{
public:
    QByteArray image;       // answer to 0x01
    QByteArray paramAnswer; // answer to 0x03 (firmware 3.5)
    // The n-th command of each kind is answered (0 = never), 3 ms later, at this pace.
    int answerOnAttempt = 1;
    int paramAnswerOnAttempt = 1;
    int bytesPerMs = 6;
    // Faults of the image: bytes it stops after, extra bytes after it, bytes
    // after which the port vanishes (-1 = none).
    int stopAfter = -1;
    QByteArray extra;
    int vanishAfter = -1;
    QSet<int> availablePorts; // empty = all

    // What the program did: one text per call ("port 3", "write 01", ...).
    QStringList calls;
    QList<quint8> commands;
    QList<qint64> commandTimes;

    // The time the device and the line see, in milliseconds. Bytes due by
    // then arrive, as the event loop of the program would take them in.
    void setNow(qint64 ms)
    {
        m_now = ms;
        pump();
    }
    // The device is already sending these bytes (an answer the program gave up on).
    void startSending(const QByteArray &bytes)
    {
        pump();
        m_stream = bytes;
        m_streamStart = m_now;
        m_sent = 0;
        m_streamIsImage = false;
    }
    void vanish()
    {
        pump();
        goAway();
    }

    // SerialLine
    void setPort(int number) override
    {
        m_port = number;
        calls << QStringLiteral("port %1").arg(number);
    }
    int port() const override { return m_port; }
    void setSettings(const QString &settings) override { calls << QStringLiteral("settings ") + settings; }
    void setDtr(bool on) override { calls << QStringLiteral("dtr %1").arg(on ? 1 : 0); }
    bool open() override
    {
        calls << QStringLiteral("open");
        if (m_gone || (!availablePorts.isEmpty() && !availablePorts.contains(m_port)))
            return false;
        pump();
        m_open = true;
        m_lost = false;
        return true;
    }
    void close() override
    {
        calls << QStringLiteral("close");
        pump();
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    int inBufferCount() override
    {
        pump();
        return int(m_input.size());
    }
    void clearInput() override
    {
        calls << QStringLiteral("clear");
        pump();
        m_input.clear();
    }
    QByteArray readAll() override
    {
        calls << QStringLiteral("read");
        pump();
        return std::exchange(m_input, {});
    }
    bool writeByte(quint8 byte) override
    {
        calls << QStringLiteral("write %1").arg(byte, 2, 16, QLatin1Char('0'));
        if (!m_open)
            return false;
        pump();
        commands << byte;
        commandTimes << m_now;
        // A device busy sending does not listen.
        if (m_sent < m_stream.size())
            return true;
        const bool image = byte == 0x01;
        const int count = image ? ++m_imageCommands : byte == 0x03 ? ++m_paramCommands : 0;
        const int answerOn = image ? answerOnAttempt : byte == 0x03 ? paramAnswerOnAttempt : 0;
        if (answerOn > 0 && count == answerOn) {
            m_stream = !image           ? paramAnswer
                       : stopAfter >= 0 ? this->image.left(stopAfter)
                                        : this->image + extra;
            m_streamStart = m_now + 3;
            m_sent = 0;
            m_streamIsImage = image;
        }
        return true;
    }
    bool lost() const override { return m_lost; }

private:
    // Moves the bytes the device has sent by now into the input buffer;
    // bytes that arrive while the port is closed are lost, as on a real line.
    void pump()
    {
        if (m_gone || m_stream.isEmpty())
            return;
        const qint64 elapsed = m_now - m_streamStart;
        qint64 due = std::min<qint64>(elapsed <= 0 ? 0 : elapsed * bytesPerMs, m_stream.size());
        const bool vanishing = m_streamIsImage && vanishAfter >= 0;
        if (vanishing)
            due = std::min<qint64>(due, vanishAfter);
        if (due > m_sent) {
            if (m_open)
                m_input += m_stream.mid(m_sent, int(due) - m_sent);
            m_sent = int(due);
        }
        if (vanishing && m_sent >= vanishAfter)
            goAway();
    }
    void goAway()
    {
        m_gone = true;
        if (m_open)
            m_lost = true;
        m_open = false;
    }

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
