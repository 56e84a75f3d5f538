#include "files/frmWait_Save.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kvl {

namespace {
constexpr int TickMs = 15;
// Ticks a full bar takes to fill, so the user sees it move.
constexpr int FillTicks = 25;
} // namespace

frmWait_Save::frmWait_Save(int version)
    : Form(QStringLiteral("frmWait_Save"), &openFlags().Open_frmWait_Save, false, Form::Dialog),
      m_progress(version)
{
    setWindowTitle(QStringLiteral("ORLIN Analysis Software"));
    auto *layout = new QVBoxLayout(this);

    m_saving = new QLabel(QStringLiteral("Saving in progress ..."), this);
    m_saving->setObjectName(QStringLiteral("Label_Save_en_Cours"));
    m_wait = new QLabel(QStringLiteral("Can you wait a moment, please..."), this);
    m_wait->setObjectName(QStringLiteral("Label_Patientez"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar_Save"));
    m_bar->setTextVisible(false);
    m_bar->setRange(0, m_progress.wholeMaximum());
    m_bar->setValue(0);
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("Label_Progression"));
    m_good = new QLabel(this);
    m_good->setObjectName(QStringLiteral("Picture_Good"));
    m_good->setPixmap(loadImage(QStringLiteral("Ok.bmp")));
    m_good->setVisible(false);

    for (QWidget *w : {static_cast<QWidget *>(m_saving), static_cast<QWidget *>(m_wait),
                       static_cast<QWidget *>(m_bar), static_cast<QWidget *>(m_percent)})
        layout->addWidget(w);
    layout->addWidget(m_good, 0, Qt::AlignHCenter);
    setMinimumWidth(twips(5000));

    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &frmWait_Save::poll);
    showState();
}

void frmWait_Save::showState()
{
    m_bar->setValue(m_progress.value());
    m_percent->setText(m_progress.progressionText());
    if (m_progress.completed()) {
        m_saving->setText(QString());
        m_wait->setText(QStringLiteral("Backup Completed !!!"));
        m_good->setVisible(true);
    }
}

void frmWait_Save::Progression_Sauvegarde()
{
    m_progress.step(m_clock());
    showState();
}

void frmWait_Save::setProgressValue(int value)
{
    m_progress.setValue(value);
    showState();
}

void frmWait_Save::play(int steps)
{
    m_stepsLeft = steps;
    m_batch = std::max(1, m_progress.wholeMaximum() / FillTicks);
    m_playing = true;
    m_timer.start();
}

void frmWait_Save::poll()
{
    if (!m_playing)
        return;
    if (m_stepsLeft > 0) {
        const int n = std::min(m_batch, m_stepsLeft);
        for (int i = 0; i < n; ++i)
            m_progress.step(m_clock());
        m_stepsLeft -= n;
        showState();
        return;
    }
    if (!m_progress.completed()) {
        // The save's last step: the bar ends full whatever the steps made.
        setProgressValue(m_progress.wholeMaximum() - 1);
        Progression_Sauvegarde();
        return;
    }
    if (m_progress.holdOver(m_clock())) {
        m_playing = false;
        m_timer.stop();
        close();
    }
}

} // namespace kvl
