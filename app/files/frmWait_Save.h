#pragma once

#include "files/SaveProgress.h"
#include "shell/Forms.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class QLabel;
class QProgressBar;

namespace kvl {

// The save progress window: a bar and a percentage while a data file is
// written, then "Backup Completed !!!" for one and a half seconds, then it
// closes itself. No cancel button.
class frmWait_Save : public Form
{
    Q_OBJECT
public:
    explicit frmWait_Save(int version);

    // One progress step.
    void Progression_Sauvegarde();
    // Sets the bar's value (the save sets one below the end before its last step).
    void setProgressValue(int value);

    // Plays the save's steps on the window's timer, a batch per tick, then
    // the last step and the completion hold; the window then closes.
    void play(int steps);
    // One tick of that timer (tests call it directly).
    void poll();

    // Milliseconds of a monotonic clock; tests install a fake one.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    const SaveProgress &progress() const { return m_progress; }

private:
    void showState();

    SaveProgress m_progress;
    QLabel *m_saving;
    QLabel *m_wait;
    QLabel *m_percent;
    QLabel *m_good;
    QProgressBar *m_bar;
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
    int m_stepsLeft = 0;
    int m_batch = 1;
    bool m_playing = false;
};

} // namespace kvl
