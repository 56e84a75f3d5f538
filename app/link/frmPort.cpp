#include "link/frmPort.h"

#include "link/CommPort.h"
#include "link/PortChoice.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvl {

const QString frmPort::NoPortCaptionOk =
    QStringLiteral("ORLIN Analysis Software - KVL 24-2 - Version 5.5/KVL 36 - Version 1.1  |  No COM. PORT | "
                   " Opening Active File Mode ");
const QString frmPort::NoPortCaptionUnload = QStringLiteral(
    "ORLIN Analysis Software - KVL 24-2 - Version 5.5  |  No COM. PORT |  Opening Active File Mode ");

namespace {

void setMainCaption(const QString &caption)
{
    if (frmMain *main = frmMain::instance())
        main->setWindowTitle(caption);
}

QRadioButton *makeOption(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

QString frmPort::portCaption(int deviceVersion, int port)
{
    QString prefix, suffix;
    switch (deviceVersion) {
    case Version35:
        prefix = QStringLiteral("ORLIN Analysis Software - KVL 24-2 - Version 5.5  |   Com. Port : COM ");
        suffix = QStringLiteral("  |  FirmWare KVL 24-2 : Version 3.5");
        break;
    case Version40:
        prefix = QStringLiteral("ORLIN Analysis Software - KVL 24-2 - Version 5.5  |  Com. Port : COM ");
        suffix = QStringLiteral("  |  FirmWare KVL 24-2 : Version 4.0");
        break;
    case Version5X:
        prefix = QStringLiteral("ORLIN Analysis Software - KVL 24-2 - Version 5.5  |  Com. Port : COM ");
        suffix = QStringLiteral("  |  FirmWare KVL 24-2 : Version 5.X");
        break;
    case VersionKvl36:
        prefix = QStringLiteral("ORLIN Analysis Software - KVL 36 - Version 1.1 |  Com. Port : COM ");
        suffix = QStringLiteral("  |  FirmWare KVL 36 : Version 1.1");
        break;
    default:
        break;
    }
    return prefix + QString::number(port) + suffix;
}

frmPort::frmPort() : Form(QStringLiteral("frmPort"), &openFlags().Open_frmPort, true, Form::Dialog)
{
    setWindowTitle(QStringLiteral("Communication Port Selection"));

    auto *frame2 = new QGroupBox(QStringLiteral("Select the KVL 24-2 Version"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    m_kvl36 = makeOption(frame2, QStringLiteral("Option_KVL36"), QStringLiteral("KVL36 V1.X"));
    m_v5 = makeOption(frame2, QStringLiteral("Option_Version5"), QStringLiteral("Version 5.X"));
    m_v4 = makeOption(frame2, QStringLiteral("Option_Version4"), QStringLiteral("Version 4.0"));
    m_v3 = makeOption(frame2, QStringLiteral("Option_Version3"), QStringLiteral("Version 3.5"));
    auto *versions = new QVBoxLayout(frame2);
    for (QRadioButton *b : {m_kvl36, m_v5, m_v4, m_v3})
        versions->addWidget(b);

    auto *label1 = new QLabel(QStringLiteral("All versions are compatible with  USB24 Adapter."), this);
    label1->setObjectName(QStringLiteral("Label1"));

    auto *frame1 = new QGroupBox(QStringLiteral("Select your Communication Port"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *portGrid = new QGridLayout(frame1);
    m_portGroup = new QButtonGroup(this);
    for (int n = 1; n <= 16; ++n) {
        QRadioButton *b =
            makeOption(frame1, QStringLiteral("Option_COM_%1").arg(n), QStringLiteral("COM %1").arg(n));
        b->setProperty("index", n);
        b->installEventFilter(this);
        m_portGroup->addButton(b, n);
        portGrid->addWidget(b, (n - 1) % 8, (n - 1) / 8);
        m_ports[std::size_t(n)] = b;
        connect(b, &QRadioButton::clicked, this, [this, n] { Option_COM_Click(n); });
    }

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("Cmd_Ok"));
    const QPixmap ok = loadImage(QStringLiteral("Ok.bmp"));
    if (ok.isNull()) {
        m_ok->setText(QStringLiteral("OK"));
    } else {
        m_ok->setIcon(ok);
        m_ok->setIconSize(ok.size());
    }
    // The tick alone says nothing to a screen reader or a new user.
    m_ok->setToolTip(QStringLiteral("Confirm the port and the version"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
    connect(m_ok, &QPushButton::clicked, this, &frmPort::Cmd_Ok_Click);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cmd_Annuler"));
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto *top = new QHBoxLayout;
    top->addWidget(frame2);
    top->addWidget(frame1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(label1);
    main->addLayout(buttons);

    // The load: no port chosen on screen, the version of the store, then
    // what the machine offers.
    Store &s = appStore();
    m_portGroup->setExclusive(false);
    for (int n = 1; n <= 16; ++n)
        m_ports[std::size_t(n)]->setChecked(false);
    m_portGroup->setExclusive(true);
    switch (downloadVersion(s)) {
    case Version35:
        m_v3->setChecked(true);
        break;
    case Version40:
        m_v4->setChecked(true);
        break;
    case Version5X:
        m_v5->setChecked(true);
        break;
    case VersionKvl36:
        m_kvl36->setChecked(true);
        break;
    default:
        break;
    }
    probePorts();

    int available = 0, only = 0;
    for (int n = 1; n <= 16; ++n)
        if (m_ports[std::size_t(n)]->isEnabled())
            ++available, only = n;
    // Port 0 is "none chosen"; any other number outside 1..16 is no port either.
    if (s.Com_Port < 1 || s.Com_Port > 16 || !m_ports[std::size_t(s.Com_Port)]->isEnabled())
        s.Com_Port = 0;
    if (available == 1)
        s.Com_Port = qint16(only);
    if (s.Com_Port != 0)
        m_ports[std::size_t(s.Com_Port)]->setChecked(true);
    else
        m_ok->setEnabled(false);
}

// A port counts as available when it opens; it is closed again at once.
void frmPort::probePorts()
{
    SerialLine &line = MSComm1();
    for (int n = 1; n <= 16; ++n) {
        line.setPort(n);
        const bool opened = line.open() && line.isOpen();
        if (opened)
            line.close();
        m_ports[std::size_t(n)]->setEnabled(opened);
    }
}

int frmPort::selectedPort() const
{
    const int id = m_portGroup->checkedId();
    return id >= 1 ? id : 0;
}

void frmPort::Option_COM_Click(int index)
{
    if (m_ports[std::size_t(index)]->isEnabled())
        m_ok->setEnabled(true);
}

void frmPort::Option_COM_DblClick(int index)
{
    Q_UNUSED(index);
    m_ok->setEnabled(true);
    Cmd_Ok_Click();
}

bool frmPort::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto *b = qobject_cast<QRadioButton *>(watched);
        if (b && b->isEnabled()) {
            b->setChecked(true);
            Option_COM_DblClick(b->property("index").toInt());
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmPort::Cmd_Ok_Click()
{
    Store &s = appStore();
    if (const int port = selectedPort())
        s.Com_Port = qint16(port);
    if (m_v3->isChecked())
        choosePortVersion(s, Version35);
    else if (m_v4->isChecked())
        choosePortVersion(s, Version40);
    else if (m_v5->isChecked())
        choosePortVersion(s, Version5X);
    else if (m_kvl36->isChecked())
        choosePortVersion(s, VersionKvl36);

    if (s.Com_Port == 0) {
        setMainCaption(NoPortCaptionOk);
        return;
    }
    MSComm1().setPort(s.Com_Port);
    setMainCaption(portCaption(downloadVersion(s), s.Com_Port));
    for (const char *entry : {"mnuAnalyse", "mnuAbout"})
        setMenuEnabled(QLatin1String(entry), true);
    close();
}

void frmPort::formUnload()
{
    if (appStore().Com_Port == 0)
        setMainCaption(NoPortCaptionUnload);
}

} // namespace kvl
