#include "link/frmWait.h"

#include "link/CommPort.h"
#include "store/Store.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kvl {

namespace {

QProgressBar *makeBar(QWidget *parent, const char *name)
{
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setTextVisible(false);
    bar->setMinimumWidth(twips(5000));
    return bar;
}

QLabel *makeLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel *makeTick(QWidget *parent, const char *name)
{
    auto *tick = makeLabel(parent, name);
    tick->setPixmap(loadImage(QStringLiteral("Ok.bmp")));
    tick->setFixedSize(24, 24);
    tick->setScaledContents(true);
    tick->hide();
    return tick;
}

QFrame *makeLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmWait::frmWait() : Form(QStringLiteral("frmWait"), &openFlags().Open_frmWait, false, Form::Dialog)
{
    setWindowTitle(QStringLiteral("Data Transfer in progress ..."));
    m_labelTransmission = makeLabel(this, "Label_Transmission");
    m_barTransmission = makeBar(this, "ProgressBar_Transmission");
    m_transmitOk = makeTick(this, "Picture_Transmit_Ok");
    m_labelClassement = makeLabel(this, "Label_Classement");
    m_barClassement = makeBar(this, "ProgressBar_Classement");
    m_classementOk = makeTick(this, "Picture_Classement_Ok");
    m_labelTraitement = makeLabel(this, "Label_Traitement");
    m_barTraitement = makeBar(this, "ProgressBar_Traitement");
    m_labelPourcentage = makeLabel(this, "Label_Pourcentage");
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cmd_Annuler"));
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_labelTransmission, 0, 0, 1, 2);
    grid->addWidget(m_barTransmission, 1, 0);
    grid->addWidget(m_transmitOk, 1, 1);
    grid->addWidget(m_labelClassement, 2, 0, 1, 2);
    grid->addWidget(m_barClassement, 3, 0);
    grid->addWidget(m_classementOk, 3, 1);
    grid->addWidget(makeLine(this), 4, 0, 1, 2);
    grid->addWidget(m_labelTraitement, 5, 0, 1, 2);
    grid->addWidget(m_barTraitement, 6, 0);
    grid->addWidget(m_labelPourcentage, 7, 0, 1, 2);
    grid->addWidget(makeLine(this), 8, 0, 1, 2);
    m_lineStatus = makeLabel(this, "Label_Line_Status");
    m_lineStatus->setWordWrap(true);
    m_lineStatus->hide();
    grid->addWidget(m_lineStatus, 9, 0, 1, 2);
    grid->addWidget(cancel, 10, 0, 1, 2, Qt::AlignRight);

    m_progress.reset(appStore().Device_Version);
    refresh();
}

void frmWait::Avancer_Progression()
{
    m_progress.Avancer_Progression(appStore());
    refresh();
}

void frmWait::setTransmissionNearlyFull()
{
    m_progress.setTransmissionNearlyFull();
    refresh();
}

void frmWait::setLineStatus(const QString &text)
{
    m_lineStatus->setText(text);
    m_lineStatus->setVisible(!text.isEmpty());
}

void frmWait::refresh()
{
    const TransferProgress &p = m_progress;
    const struct
    {
        QProgressBar *bar;
        const ProgressBarValue &value;
    } bars[] = {{m_barTransmission, p.transmission},
                {m_barClassement, p.classement},
                {m_barTraitement, p.traitement}};
    for (const auto &b : bars) {
        b.bar->setRange(b.value.min(), b.value.max());
        b.bar->setValue(b.value.val());
    }
    m_labelTransmission->setText(p.labelTransmission);
    m_labelClassement->setText(p.labelClassement);
    m_labelTraitement->setText(p.labelTraitement);
    m_labelPourcentage->setText(p.labelPourcentage);
    m_transmitOk->setVisible(p.transmitOkVisible);
    m_classementOk->setVisible(p.classementOkVisible);
}

void frmWait::formUnload()
{
    Store &s = appStore();
    s.Cancel_Flag = true;
    s.Transfer_Error = 0;
    if (MSComm1().isOpen())
        MSComm1().close();
}

} // namespace kvl
