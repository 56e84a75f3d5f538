#include "link/Transfer.h"

#include "link/SerialLine.h"
#include "store/Store.h"

namespace kvl {

namespace {
const QString CommandSettings = QStringLiteral("4800,N,8,1");
constexpr quint8 ImageCommand = 0x01;
constexpr quint8 ParameterCommand = 0x03;
} // namespace

TransferVariant transferVariant(int deviceVersion)
{
    TransferVariant v;
    v.version = deviceVersion;
    switch (deviceVersion) {
    case Version35:
        v.imageSize = ImageSize35;
        v.chunkedUntil = 64000;
        v.dataSettings = QStringLiteral("19200,N,8,1");
        v.commandWaitMs = 500;
        v.parameterExchange = true;
        break;
    case Version40:
        v.imageSize = ImageSize40;
        v.chunkedUntil = 96000;
        v.dataSettings = QStringLiteral("56000,N,8,1");
        v.commandWaitMs = 500;
        break;
    default:
        v.imageSize = ImageSize5;
        v.chunkedUntil = 128000;
        v.dataSettings = QStringLiteral("56000,N,8,1");
        v.commandWaitMs = 750;
        v.commandAtDataSpeed = true;
        v.extraProgress = true;
        v.history = true;
        break;
    }
    return v;
}

Transfer::Transfer(Store &store, SerialLine &line, TransferHooks hooks)
    : m_store(store), m_line(line), m_hooks(std::move(hooks))
{
    if (!m_hooks.progress)
        m_hooks.progress = [this] { ++m_store.Progress_Step; };
}

void Transfer::progress()
{
    m_hooks.progress();
}

void Transfer::start(qint64 nowMs)
{
    m_variant = transferVariant(m_store.Device_Version);
    m_store.Cancel_Flag = false;
    m_store.Data_Loaded = false;
    m_store.Progress_Step = 0;
    if (m_hooks.setSaveAsEnabled)
        m_hooks.setSaveAsEnabled(false);
    // One byte more than the whole, as the device program sizes it.
    const int total = m_variant.imageSize + (m_variant.parameterExchange ? ParameterAnswerBytes : 0);
    m_buffer = QByteArray(total + 1, char(0));
    m_commands.clear();
    m_waitStart = nowMs;
    // Nothing is known of the line before it is watched.
    m_quietSince = nowMs;
    m_discarded = 0;
    m_arrived = -1;
    m_statusSeconds = -1;
    m_fault = ImageFault::None;
    m_failure.clear();
    beginPhase(1);
}

void Transfer::beginPhase(int phase)
{
    m_phase = phase;
    m_store.Transfer_Error = 0;
    m_received = 0;
    m_state = State::Attempt;
}

// The error code of a phase that gives up.
int Transfer::phaseCode() const
{
    const bool connecting =
        m_state == State::Attempt || m_state == State::Quiet || m_state == State::AttemptWait;
    if (m_phase == 1)
        return connecting ? 3 : 4;
    return connecting ? 2 : 1;
}

bool Transfer::portInUse() const
{
    return m_state == State::Quiet || m_state == State::AttemptWait || m_state == State::Receive ||
           m_state == State::ReceiveWait;
}

// A port that went away ends the transfer like a time-out of its phase.
void Transfer::failPortGone()
{
    m_failure = QStringLiteral("The port went away (adapter unplugged or line hung up).");
    m_store.Transfer_Error = qint16(phaseCode());
    m_store.Cancel_Flag = true;
    m_line.close();
    m_state = State::Done;
}

// One attempt's port set-up up to the open line the command goes out on;
// false when the port cannot be used.
bool Transfer::openForCommand()
{
    m_line.setPort(m_store.Com_Port);
    if (m_variant.commandAtDataSpeed) {
        m_line.clearInput();
        m_line.setSettings(m_variant.dataSettings);
    } else {
        // The command goes at 4800 baud; the answer comes at the data speed.
        m_line.setSettings(CommandSettings);
    }
    m_line.setDtr(false);
    return m_line.open();
}

// The command, then (3.5, 4.0) the line reopened at the data speed.
bool Transfer::sendCommand()
{
    const quint8 command = m_phase == 1 ? ImageCommand : ParameterCommand;
    if (!m_line.writeByte(command))
        return false;
    m_commands.append(char(command));
    if (m_variant.commandAtDataSpeed) {
        m_line.setDtr(true);
    } else {
        m_line.close();
        m_line.clearInput();
        m_line.setSettings(m_variant.dataSettings);
        m_line.setDtr(false);
        if (!m_line.open())
            return false;
        m_line.setDtr(true);
    }
    m_received = 0;
    if (m_phase == 1)
        m_store.Progress_Step = 1;
    return true;
}

// Watches the open line before a command, throwing away what still comes
// in; true once it has been quiet long enough, or the wait has lasted too long.
bool Transfer::quietPass(qint64 nowMs)
{
    const int buffered = m_line.inBufferCount();
    if (buffered > 0) {
        m_line.clearInput();
        m_discarded += buffered;
        m_quietSince = nowMs;
    }
    if (nowMs - m_quietSince >= QuietMs || nowMs - m_quietStart >= QuietLimitMs)
        return true;
    // Bytes came in during this wait: say why nothing moves.
    const int seconds = int((nowMs - m_quietStart) / 1000);
    if (m_quietSince > m_quietStart && seconds != m_statusSeconds && m_hooks.status) {
        m_statusSeconds = seconds;
        m_hooks.status(QStringLiteral("The KVL is still sending an earlier answer: waiting for the line "
                                      "to be free (%1 s) ...")
                           .arg(seconds));
    }
    return false;
}

void Transfer::giveUp(const QString &reason)
{
    m_failure = reason;
    m_arrived = m_received + (m_line.isOpen() ? m_line.inBufferCount() : 0);
    m_store.Transfer_Error = qint16(m_phase == 1 ? 4 : 1);
    m_store.Cancel_Flag = true;
    m_line.close();
    m_state = State::Done;
}

// Whether no byte has come for too long; any change of the count is a byte.
bool Transfer::silentTooLong(int buffered, qint64 nowMs)
{
    if (buffered != m_lastBuffered) {
        m_lastBuffered = buffered;
        m_quietSince = nowMs;
        return false;
    }
    return nowMs - m_quietSince >= SilenceMs;
}

// The check of what was received; a failure ends like the phase's
// last-bytes failure, before anything is decoded.
bool Transfer::imagePlausible()
{
    m_fault = m_phase == 1 ? checkImage(m_buffer.left(m_variant.imageSize), m_variant.version)
                           : checkParameterAnswer(m_buffer.mid(m_variant.imageSize, ParameterAnswerBytes));
    if (m_fault == ImageFault::None)
        return true;
    giveUp(imageFaultText(m_fault));
    return false;
}

void Transfer::enterReceive()
{
    m_store.Transfer_Error = -1;
    if (m_phase == 1 && m_variant.extraProgress)
        progress();
    m_state = State::Receive;
}

void Transfer::appendRead(int offset)
{
    const QByteArray bytes = m_line.readAll();
    // Never past the end of the buffer, whatever the line delivers.
    const int room = int(m_buffer.size()) - offset - m_received;
    const int n = std::min(int(bytes.size()), std::max(room, 0));
    std::copy(bytes.constData(), bytes.constData() + n, m_buffer.data() + offset + m_received);
    m_received += int(bytes.size());
}

// One pass of a reception loop; false when the routine must wait.
bool Transfer::receivePass(qint64 nowMs)
{
    Store &s = m_store;
    if (m_phase == 2) {
        if (m_line.inBufferCount() == ParameterAnswerBytes) {
            appendRead(m_variant.imageSize);
            return true;
        }
        m_waitStart = nowMs;
        m_state = State::ReceiveWait;
        return false;
    }

    const int count = m_line.inBufferCount();
    if (count > s.Progress_Step * 2750 && count < s.Progress_Step * 2850) {
        ++s.Progress_Step;
        progress();
    }
    const int remaining = m_variant.imageSize - m_received;
    const int buffered = m_line.inBufferCount();
    if (m_received < m_variant.chunkedUntil && buffered <= remaining) {
        // The rest of the image in one piece is taken too: our buffer is not
        // limited to 16384 bytes, so a late look may find more than a chunk.
        if (buffered >= ChunkBytes || (buffered == remaining && buffered > 0)) {
            appendRead(0);
            m_lastBuffered = 0;
            m_quietSince = nowMs;
            s.Progress_Step = 1;
            if (m_variant.extraProgress)
                progress();
            return true;
        }
        // A device that falls silent here would keep the window waiting for ever.
        if (silentTooLong(buffered, nowMs))
            giveUp(QStringLiteral("Nothing arrived for %1 s.").arg(SilenceMs / 1000));
        return false;
    }
    // Final stage, or more bytes than the image can hold: only the exact
    // count of the missing bytes is accepted.
    if (buffered == remaining) {
        appendRead(0);
        return true;
    }
    m_waitStart = nowMs;
    m_state = State::ReceiveWait;
    return false;
}

void Transfer::endReception()
{
    m_line.close();
    if (!imagePlausible())
        return;
    if (m_phase == 1 && m_variant.parameterExchange) {
        beginPhase(2);
        return;
    }
    if (m_hooks.completeTransmission)
        m_hooks.completeTransmission();
    else
        progress();
    m_state = State::Decode;
}

void Transfer::succeed(qint64 nowMs)
{
    Store &s = m_store;
    s.Data_Loaded = true;
    if (m_hooks.setSaveAsEnabled)
        m_hooks.setSaveAsEnabled(true);
    if (m_variant.history) {
        const QDateTime now = m_hooks.now ? m_hooks.now() : QDateTime::currentDateTime();
        s.Transfer_Date = now.date().toString(QStringLiteral("dd/MM/yyyy"));
        s.Transfer_Time = now.time().toString(QStringLiteral("hh:mm:ss"));
    } else {
        const ParamBlockTable &p = s.Param_Block;
        s.Default_Leq_Day = QString::number(p[2176] * 100 + p[2177]);
        s.Default_Leq_Night = QString::number(p[2180] * 100 + p[2181]);
        s.Default_Hour_Day_Night = QString::number(p[2191]);
        s.Default_Hour_Night_Day = QString::number(p[2193]);
    }
    m_waitStart = nowMs;
    m_state = State::FinalWait;
}

bool Transfer::step(qint64 nowMs)
{
    Store &s = m_store;
    for (;;) {
        if (portInUse() && !s.Cancel_Flag && m_line.lost()) {
            failPortGone();
            return false;
        }
        switch (m_state) {
        case State::Idle:
        case State::Done:
            return false;

        case State::Attempt:
            m_attemptAt = nowMs;
            if (!openForCommand()) {
                // An attempt on a port that is gone: no further attempt can work.
                m_state = State::AttemptWait;
                failPortGone();
                return false;
            }
            m_quietStart = nowMs;
            m_statusSeconds = -1;
            m_state = State::Quiet;
            continue;

        case State::Quiet:
            if (s.Cancel_Flag) {
                m_line.close();
                m_state = State::Done;
                return false;
            }
            if (!quietPass(nowMs))
                return true;
            if (m_statusSeconds >= 0 && m_hooks.status)
                m_hooks.status(QString());
            if (!sendCommand()) {
                m_state = State::AttemptWait;
                failPortGone();
                return false;
            }
            m_waitStart = nowMs;
            m_state = State::AttemptWait;
            return true;

        case State::AttemptWait: {
            if (nowMs - m_waitStart <= m_variant.commandWaitMs)
                return true;
            if (s.Cancel_Flag) {
                m_state = State::Done;
                return false;
            }
            if (m_line.inBufferCount() >= 1) {
                enterReceive();
                m_lastBuffered = -1;
                m_quietSince = nowMs;
                continue;
            }
            m_line.close();
            const int last = m_phase == 1 ? CommandAttempts - 1 : ParameterAttempts - 1;
            if (s.Transfer_Error == last) {
                m_failure = QStringLiteral("No answer to the command after %1 attempts.").arg(last + 1);
                s.Cancel_Flag = true;
                m_state = State::Done;
                return false;
            }
            ++s.Transfer_Error;
            m_state = State::Attempt;
            continue;
        }

        case State::Receive: {
            const int target = m_phase == 1 ? m_variant.imageSize : ParameterAnswerBytes;
            if (m_received >= target || s.Cancel_Flag) {
                if (s.Cancel_Flag) {
                    if (s.Transfer_Error != 0)
                        m_line.close();
                    m_state = State::Done;
                    return false;
                }
                endReception();
                return m_state != State::Done;
            }
            if (receivePass(nowMs))
                continue;
            return m_state != State::Done;
        }

        case State::ReceiveWait: {
            const int waitMs = m_phase == 1 ? FinalWaitMs : ParameterWaitMs;
            if (nowMs - m_waitStart <= waitMs)
                return true;
            if (!s.Cancel_Flag) {
                ++s.Transfer_Error;
                if (s.Transfer_Error == (m_phase == 1 ? 4 : 1)) {
                    s.Cancel_Flag = true;
                    const int target = m_phase == 1 ? m_variant.imageSize : ParameterAnswerBytes;
                    m_arrived = m_received + m_line.inBufferCount();
                    m_failure = m_arrived > target
                                    ? QStringLiteral("More bytes arrived than the memory holds.")
                                    : QStringLiteral("The last bytes did not arrive.");
                }
            }
            m_state = State::Receive;
            continue;
        }

        case State::Decode: {
            m_buffer.truncate(imageSizeForVersion(m_variant.version));
            if (s.Cancel_Flag || !decodeImage(s, m_buffer, m_hooks.progress)) {
                m_state = State::Done;
                return false;
            }
            m_state = State::SortLeq;
            return true;
        }

        case State::SortLeq:
        case State::SortEvents:
        case State::SortHistory: {
            if (s.Cancel_Flag) {
                m_state = State::Done;
                return false;
            }
            const ProgressFn &p = m_hooks.progress;
            if (m_state == State::SortLeq) {
                Tri_Leq(s, p);
                m_state = State::SortEvents;
            } else if (m_state == State::SortEvents) {
                Tri_Evenements(s, p);
                m_state = m_variant.history ? State::SortHistory : State::FinalWait;
            } else {
                Tri_Historique(s, p);
                m_state = State::FinalWait;
            }
            if (m_state == State::FinalWait) {
                if (s.Cancel_Flag) {
                    m_state = State::Done;
                    return false;
                }
                succeed(nowMs);
            }
            return true;
        }

        case State::FinalWait:
            if (nowMs - m_waitStart < CompletedWaitMs)
                return true;
            m_state = State::Done;
            return false;
        }
    }
}

} // namespace kvl
