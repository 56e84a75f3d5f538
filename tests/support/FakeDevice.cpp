#include "FakeDevice.h"

#include <algorithm>

namespace kvl::test {

void FakeDevice::setPort(int number)
{
    m_port = number;
    calls << QStringLiteral("port %1").arg(number);
}

void FakeDevice::setSettings(const QString &settings)
{
    calls << QStringLiteral("settings ") + settings;
}

void FakeDevice::setDtr(bool on)
{
    calls << QStringLiteral("dtr %1").arg(on ? 1 : 0);
}

bool FakeDevice::open()
{
    calls << QStringLiteral("open");
    if (m_gone || (!availablePorts.isEmpty() && !availablePorts.contains(m_port)))
        return false;
    pump();
    m_open = true;
    m_lost = false;
    return true;
}

void FakeDevice::close()
{
    calls << QStringLiteral("close");
    pump();
    m_open = false;
}

void FakeDevice::vanish()
{
    pump();
    goAway();
}

void FakeDevice::goAway()
{
    m_gone = true;
    if (m_open)
        m_lost = true;
    m_open = false;
}

// Moves the bytes the device has sent by now into the input buffer; bytes
// that arrive while the port is closed are lost, as on a real line.
void FakeDevice::pump()
{
    if (m_gone || m_stream.isEmpty())
        return;
    const qint64 elapsed = m_now - m_streamStart;
    qint64 due = elapsed <= 0 ? 0 : elapsed * bytesPerMs;
    due = std::min<qint64>(due, m_stream.size());
    if (m_streamIsImage && vanishAfter >= 0 && due >= vanishAfter)
        due = vanishAfter;
    if (due > m_sent) {
        if (m_open)
            m_input += m_stream.mid(m_sent, int(due) - m_sent);
        m_sent = int(due);
    }
    if (m_streamIsImage && vanishAfter >= 0 && m_sent >= vanishAfter)
        goAway();
}

int FakeDevice::inBufferCount()
{
    pump();
    return int(m_input.size());
}

void FakeDevice::clearInput()
{
    calls << QStringLiteral("clear");
    pump();
    m_input.clear();
}

QByteArray FakeDevice::readAll()
{
    calls << QStringLiteral("read");
    pump();
    QByteArray out;
    out.swap(m_input);
    return out;
}

bool FakeDevice::writeByte(quint8 byte)
{
    calls << QStringLiteral("write %1").arg(byte, 2, 16, QLatin1Char('0'));
    if (!m_open)
        return false;
    pump();
    commands << byte;
    commandTimes << m_now;
    int answerOn = 0, count = 0;
    QByteArray payload;
    if (byte == 0x01) {
        count = ++m_imageCommands;
        answerOn = answerOnAttempt;
        payload = stopAfter >= 0 ? image.left(stopAfter) : image + extra;
    } else if (byte == 0x03) {
        count = ++m_paramCommands;
        answerOn = paramAnswerOnAttempt;
        payload = paramAnswer;
    }
    if (answerOn > 0 && count == answerOn) {
        m_stream = payload;
        m_streamStart = m_now + latencyMs;
        m_sent = 0;
        m_streamIsImage = byte == 0x01;
    }
    return true;
}

} // namespace kvl::test
