#pragma once

// The download of a device's memory over the serial line (Transfert_V35,
// Transfert_V40, Transfert_V5) as a state machine driven by elapsed
// milliseconds: the program calls step() from a timer, tests from a fake
// clock. Each call runs until the routine would wait or let the user
// interface breathe, so Cancel_Flag set between calls stops it at its next
// check.

#include "link/Decode.h"
#include "link/ImageCheck.h"

#include <QByteArray>
#include <QDateTime>

#include <functional>

namespace kvl {

struct Store;
class SerialLine;

// What the routine does to the world around it besides the store and the line.
struct TransferHooks
{
    // Avancer_Progression of the progress window.
    ProgressFn progress;
    // End of reception: the transmission bar to its maximum minus 1, then
    // one Avancer_Progression.
    std::function<void()> completeTransmission;
    // The main window's Save As entry.
    std::function<void(bool)> setSaveAsEnabled;
    // The current date and time (Transfer_Date and Transfer_Time).
    std::function<QDateTime()> now;
    // A line about a wait the bars do not show ("" when it is over).
    std::function<void(const QString &)> status;
};

// How a download ended. A time-out's value is the code it leaves in
// Transfer_Error for the data source window (1..4).
enum class TransferOutcome : qint16 {
    Running = -1,
    Cancelled = 0,           // by the user
    ParameterIncomplete = 1, // 3.5: the 514-byte answer stayed short ("Error 04")
    ParameterNoAnswer = 2,   // 3.5: no answer to command 0x03 ("Error 03")
    ImageNoAnswer = 3,       // no answer to command 0x01 ("Error 01")
    ImageIncomplete = 4,     // the last bytes of the image never came ("Error 02")
    Completed = 5,
};

// The outcome the store shows once a download has ended: Cancel_Flag clear
// is a success whatever Transfer_Error holds; codes other than 1..4 with
// Cancel_Flag are a user cancel.
TransferOutcome transferOutcome(const Store &store);
// The time-out a Transfer_Error code stands for; Cancelled for any other code.
TransferOutcome transferOutcomeOf(qint16 transferError);

// The message box of a time-out outcome; empty for any other outcome.
struct TransferMessage
{
    QString text;
    QString caption;
};
TransferMessage transferFailureMessage(TransferOutcome outcome);

const char *outcomeName(TransferOutcome outcome);

// The protocol's figures for one device version.
struct TransferVariant
{
    int version = 5;
    int imageSize = 0;               // answer to command 0x01
    int chunkedUntil = 0;            // chunked reading below this many bytes
    QString dataSettings;            // line settings while receiving
    int commandWaitMs = 0;           // wait after each command
    bool commandAtDataSpeed = false; // 5.X / KVL 36: no 4800 baud command
    bool parameterExchange = false;  // 3.5: second exchange with 0x03
    bool extraProgress = false;      // 5.X / KVL 36 progress calls
    bool history = false;            // parameter history to sort
};
TransferVariant transferVariant(int deviceVersion);

class Transfer
{
public:
    enum class State {
        Idle,
        Attempt,     // port set-up and command
        Quiet,       // the port is open; the command waits for a quiet line
        AttemptWait, // the wait after the command
        Receive,     // reception passes
        ReceiveWait, // a time-out wait of the final stage
        Decode,
        SortLeq,
        SortEvents,
        SortHistory,
        FinalWait,
        Done
    };

    // Protocol constants.
    static constexpr int CommandAttempts = 4;
    static constexpr int ParameterAttempts = 3;
    static constexpr int ChunkBytes = 16000;
    static constexpr int FinalWaitMs = 500;
    static constexpr int ParameterWaitMs = 250;
    static constexpr int CompletedWaitMs = 1500;
    // Buffered bytes that advance the chunk's progress: a step whenever the
    // count lies strictly between Progress_Step times the low and the high
    // figure, so a chunk of 16000 bytes gives at most three steps.
    static constexpr int PacingLowBytes = 2750;
    static constexpr int PacingHighBytes = 2850;
    // A device that was cancelled goes on sending the rest of its memory:
    // a command goes out only once the line has been quiet this long, and
    // after the longest image at the slowest speed (3.5: about 35 s) anyway.
    static constexpr int QuietMs = 300;
    static constexpr int QuietLimitMs = 40000;
    // Without a byte for this long a receiving stage gives up.
    static constexpr int SilenceMs = 10000;

    Transfer(Store &store, SerialLine &line, TransferHooks hooks);

    // Step 1 of the routine: clears the flags, disables Save As.
    void start(qint64 nowMs);
    // Runs the routine as far as it goes at this moment; false once it has ended.
    bool step(qint64 nowMs);

    bool running() const { return m_state != State::Idle && m_state != State::Done; }
    State state() const { return m_state; }
    // 1: memory image, 2: parameter answer (firmware 3.5).
    int phase() const { return m_phase; }
    int received() const { return m_received; }
    // Bytes received so far, image first (3.5: the answer after it).
    const QByteArray &buffer() const { return m_buffer; }
    // When the last attempt started, in the caller's milliseconds.
    qint64 lastAttemptAt() const { return m_attemptAt; }
    // Why a failed transfer ended, for the user ("" when it did not fail).
    QString failureReason() const { return m_failure; }
    // What the check of a received image found.
    ImageFault imageFault() const { return m_fault; }
    // Bytes of the phase that had come in when it gave up, read or not.
    int arrived() const { return m_arrived >= 0 ? m_arrived : m_received; }
    // Bytes of the line thrown away while waiting for it to be quiet.
    int discarded() const { return m_discarded; }
    // Running until the routine has ended.
    TransferOutcome outcome() const { return m_outcome; }

private:
    void beginPhase(int phase);
    bool openForCommand();
    bool sendCommand();
    bool quietPass(qint64 nowMs);
    void giveUp(const QString &reason);
    bool silentTooLong(int buffered, qint64 nowMs);
    bool imagePlausible();
    void enterReceive();
    bool receivePass(qint64 nowMs);
    void endReception();
    void succeed(qint64 nowMs);
    void failPortGone();
    void appendRead(int offset);
    TransferOutcome phaseTimeout() const;
    void end(TransferOutcome outcome);
    bool portInUse() const;
    void progress();

    Store &m_store;
    SerialLine &m_line;
    TransferHooks m_hooks;
    TransferVariant m_variant;
    State m_state = State::Idle;
    TransferOutcome m_outcome = TransferOutcome::Running;
    int m_phase = 1;
    int m_received = 0;
    qint64 m_waitStart = 0;
    qint64 m_attemptAt = 0;
    QByteArray m_buffer;
    qint64 m_quietSince = 0; // last byte seen on the line (or when watching began)
    qint64 m_quietStart = 0; // when the current quiet wait began
    int m_lastBuffered = 0;
    int m_discarded = 0;
    int m_arrived = -1;
    int m_statusSeconds = -1;
    ImageFault m_fault = ImageFault::None;
    QString m_failure;
};

} // namespace kvl
