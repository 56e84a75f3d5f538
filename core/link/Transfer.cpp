#include "link/Transfer.h"

#include "Logging.h"
#include "link/SerialLine.h"
#include "store/Store.h"

namespace kvl {

namespace {
const QString CommandSettings = QStringLiteral("4800,N,8,1");
constexpr quint8 ImageCommand = 0x01;
constexpr quint8 ParameterCommand = 0x03;
} // namespace

TransferOutcome transferOutcomeOf(qint16 transferError)
{
    switch (TransferOutcome(transferError)) {
    case TransferOutcome::ParameterIncomplete:
    case TransferOutcome::ParameterNoAnswer:
    case TransferOutcome::ImageNoAnswer:
    case TransferOutcome::ImageIncomplete:
        return TransferOutcome(transferError);
    default:
        return TransferOutcome::Cancelled;
    }
}

TransferOutcome transferOutcome(const Store &s)
{
    return s.Cancel_Flag ? transferOutcomeOf(s.Transfer_Error) : TransferOutcome::Completed;
}

TransferMessage transferFailureMessage(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::ParameterIncomplete:
        return {QStringLiteral("Error 04 - See analysis software."),
                QStringLiteral("Transmit error (Error 04)")};
    case TransferOutcome::ParameterNoAnswer:
        return {QStringLiteral("Error 03 - See analysis software."),
                QStringLiteral("Transmit error(Error 03)")};
    case TransferOutcome::ImageNoAnswer:
        return {QStringLiteral("Error 01 - See analysis software."),
                QStringLiteral("Transmit error (Error 01)")};
    case TransferOutcome::ImageIncomplete:
        return {QStringLiteral("Error 02 - See analysis software."),
                QStringLiteral("Transmit error(Error 02)")};
    default:
        return {};
    }
}

const char *outcomeName(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Running:
        return "running";
    case TransferOutcome::Cancelled:
        return "cancelled";
    case TransferOutcome::ParameterIncomplete:
        return "parameter answer incomplete (code 1)";
    case TransferOutcome::ParameterNoAnswer:
        return "no answer to the parameter command (code 2)";
    case TransferOutcome::ImageNoAnswer:
        return "no answer to the image command (code 3)";
    case TransferOutcome::ImageIncomplete:
        return "image incomplete (code 4)";
    case TransferOutcome::Completed:
        return "completed";
    }
    return "?";
}

TransferVariant transferVariant(int deviceVersion)
{
    TransferVariant v;
    v.version = deviceVersion;
    // Any other version is downloaded as a firmware 5.X.
    const int as = deviceVersion == Version35 || deviceVersion == Version40 ? deviceVersion : Version5X;
    v.imageSize = versionLayout(as).imageSize;
    switch (deviceVersion) {
    case Version35:
        v.chunkedUntil = 64000;
        v.dataSettings = QStringLiteral("19200,N,8,1");
        v.commandWaitMs = 500;
        v.parameterExchange = true;
        break;
    case Version40:
        v.chunkedUntil = 96000;
        v.dataSettings = QStringLiteral("56000,N,8,1");
        v.commandWaitMs = 500;
        break;
    default:
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
    // One byte of room beyond the whole answer.
    const int total = m_variant.imageSize + (m_variant.parameterExchange ? ParamAnswerSize : 0);
    m_buffer = QByteArray(total + 1, char(0));
    m_waitStart = nowMs;
    // Nothing is known of the line before it is watched.
    m_quietSince = nowMs;
    m_discarded = 0;
    m_arrived = -1;
    m_statusSeconds = -1;
    m_fault = ImageFault::None;
    m_failure.clear();
    m_outcome = TransferOutcome::Running;
    qCDebug(lcLink) << "download start: version" << m_variant.version << "image" << m_variant.imageSize
                    << "bytes, port COM" << m_store.Com_Port;
    beginPhase(1);
}

void Transfer::beginPhase(int phase)
{
    m_phase = phase;
    qCDebug(lcLink) << "phase" << phase << (phase == 1 ? "(memory image)" : "(parameter answer)");
    m_store.Transfer_Error = 0;
    m_received = 0;
    m_state = State::Attempt;
}

// The outcome of a phase that gives up at its current stage.
TransferOutcome Transfer::phaseTimeout() const
{
    const bool connecting =
        m_state == State::Attempt || m_state == State::Quiet || m_state == State::AttemptWait;
    if (m_phase == 1)
        return connecting ? TransferOutcome::ImageNoAnswer : TransferOutcome::ImageIncomplete;
    return connecting ? TransferOutcome::ParameterNoAnswer : TransferOutcome::ParameterIncomplete;
}

void Transfer::end(TransferOutcome outcome)
{
    m_outcome = outcome;
    m_state = State::Done;
    if (outcome == TransferOutcome::Completed || outcome == TransferOutcome::Cancelled)
        qCDebug(lcLink) << "download ended:" << outcomeName(outcome) << "after" << m_received
                        << "bytes of phase" << m_phase;
    else
        qCWarning(lcLink) << "download failed:" << outcomeName(outcome) << "after" << m_received
                          << "bytes of phase" << m_phase;
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
    const TransferOutcome outcome = phaseTimeout();
    qCWarning(lcLink) << "port COM" << m_store.Com_Port << "is gone";
    m_store.Transfer_Error = qint16(outcome);
    m_store.Cancel_Flag = true;
    m_line.close();
    end(outcome);
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
    qCDebug(lcLink) << "attempt" << m_store.Transfer_Error + 1 << "of phase" << m_phase << ": command"
                    << Qt::hex << command << Qt::dec << "at"
                    << (m_variant.commandAtDataSpeed ? m_variant.dataSettings : CommandSettings);
    if (!m_line.writeByte(command))
        return false;
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
        qCDebug(lcLink) << "line busy before the command:" << buffered << "bytes thrown away";
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
    qCWarning(lcLink) << "giving up phase" << m_phase << "after" << m_arrived << "bytes:" << reason;
    const TransferOutcome outcome =
        m_phase == 1 ? TransferOutcome::ImageIncomplete : TransferOutcome::ParameterIncomplete;
    m_store.Transfer_Error = qint16(outcome);
    m_store.Cancel_Flag = true;
    m_line.close();
    end(outcome);
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
                           : checkParameterAnswer(m_buffer.mid(m_variant.imageSize, ParamAnswerSize));
    if (m_fault == ImageFault::None)
        return true;
    giveUp(imageFaultText(m_fault));
    return false;
}

void Transfer::enterReceive()
{
    qCDebug(lcLink) << "answer: reception at" << m_variant.dataSettings << "," << m_line.inBufferCount()
                    << "bytes waiting";
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
    qCDebug(lcLink) << "received" << bytes.size() << "bytes, total" << m_received;
}

// One pass of a reception loop; false when the routine must wait.
bool Transfer::receivePass(qint64 nowMs)
{
    Store &s = m_store;
    if (m_phase == 2) {
        if (m_line.inBufferCount() == ParamAnswerSize) {
            appendRead(m_variant.imageSize);
            return true;
        }
        m_waitStart = nowMs;
        m_state = State::ReceiveWait;
        return false;
    }

    const int count = m_line.inBufferCount();
    if (count > s.Progress_Step * PacingLowBytes && count < s.Progress_Step * PacingHighBytes) {
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
    qCDebug(lcLink) << "phase" << m_phase << "received:" << m_received << "bytes";
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
        setDefaultThresholds(s);
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
                end(transferOutcome(s));
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
                end(transferOutcome(s));
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
                end(phaseTimeout());
                return false;
            }
            qCWarning(lcLink) << "no answer to attempt" << s.Transfer_Error + 1 << "of phase" << m_phase
                              << ", retrying";
            ++s.Transfer_Error;
            m_state = State::Attempt;
            continue;
        }

        case State::Receive: {
            const int target = m_phase == 1 ? m_variant.imageSize : ParamAnswerSize;
            if (m_received >= target || s.Cancel_Flag) {
                if (s.Cancel_Flag) {
                    if (s.Transfer_Error != 0)
                        m_line.close();
                    end(transferOutcome(s));
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
                qCWarning(lcLink) << "time-out in phase" << m_phase << "after" << waitMs
                                  << "ms:" << m_received << "bytes received," << m_line.inBufferCount()
                                  << "waiting";
                // Transfer_Error counted the attempts; one more time-out is
                // the phase's incomplete reception.
                ++s.Transfer_Error;
                const TransferOutcome incomplete =
                    m_phase == 1 ? TransferOutcome::ImageIncomplete : TransferOutcome::ParameterIncomplete;
                if (transferOutcomeOf(s.Transfer_Error) == incomplete) {
                    s.Cancel_Flag = true;
                    const int target = m_phase == 1 ? m_variant.imageSize : ParamAnswerSize;
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
            qCDebug(lcLink) << "decoding" << m_buffer.size() << "bytes";
            if (s.Cancel_Flag || !decodeImage(s, m_buffer, m_hooks.progress)) {
                end(transferOutcome(s));
                return false;
            }
            m_state = State::SortLeq;
            return true;
        }

        case State::SortLeq:
        case State::SortEvents:
        case State::SortHistory: {
            if (s.Cancel_Flag) {
                end(transferOutcome(s));
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
                    end(transferOutcome(s));
                    return false;
                }
                qCDebug(lcLink) << "sorted:" << s.Leq_Count << "Leq rows";
                succeed(nowMs);
            }
            return true;
        }

        case State::FinalWait:
            if (nowMs - m_waitStart < CompletedWaitMs)
                return true;
            end(TransferOutcome::Completed);
            return false;
        }
    }
}

} // namespace kvl
