#include "shell/frmAbout.h"

#include "shell/Forms.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kvl {

namespace {
const QString CrLf = QStringLiteral("\r\n");

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}
} // namespace

frmAbout::frmAbout(QWidget *mainWindow) : QWidget(mainWindow, Qt::Dialog), m_main(mainWindow)
{
    Fermer_Fenetres();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ORLIN Analysis Software"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, formBackground());
    setPalette(pal);
    setAutoFillBackground(true);

    // The main window waits until the box is closed.
    setWindowModality(Qt::ApplicationModal);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(loadImage(QStringLiteral("Logo Orlin.bmp")));

    QLabel *title =
        textLabel(this, QStringLiteral("lblTitle"), QStringLiteral("KVL 24/36  DATA ANALYSIS SOFTWARE"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(12);
    title->setFont(bold);

    const QStringList description = {
        QStringLiteral("*  Description :"), QStringLiteral("This software analyses KVL 24-2 data."),
        QStringLiteral("These data can be analysed with a chart, a diagram or saved.")};
    const QStringList system = {QStringLiteral("*  Operating Process :"),
                                QStringLiteral("    _ Windows 2000."), QStringLiteral("    _ Windows XP.")};
    const QStringList resolution = {QStringLiteral("*  Resolutions :"), QStringLiteral("    _ 800 x 600."),
                                    QStringLiteral("    _ 1024 x 768."),
                                    QStringLiteral("    _ 1152 x 864 or +  (recommended).")};
    const QStringList firmware = {
        QStringLiteral("*  KVL 24-2 Firmware Compatibility :"),
        QStringLiteral("    _ Version 3.5 ( Serial Link + USB 24 Adapter)."),
        QStringLiteral("    _ Version 4.0 ( Serial Link + USB 24 Adapter)."),
        QStringLiteral("    _ Version 5.X ( Serial Link + USB 24 Adapter)."),
        QStringLiteral("*  All files download with these versions are compatible with this software.")};

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(textLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version 1.1")), 1, 1);
    layout->addWidget(textLabel(this, QStringLiteral("Label_Version"), QStringLiteral("Version : 01012008")),
                      2, 1);
    layout->addWidget(textLabel(this, QStringLiteral("lblDescription"), description.join(CrLf)), 3, 0, 1, 2);
    layout->addWidget(textLabel(this, QStringLiteral("Label_System_Exploitation"), system.join(CrLf)), 4, 0,
                      1, 2);
    layout->addWidget(textLabel(this, QStringLiteral("Label_Resolution"), resolution.join(CrLf)), 5, 0, 1, 2);
    layout->addWidget(textLabel(this, QStringLiteral("Label_FirmWare"), firmware.join(CrLf)), 6, 0, 1, 2);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(ok, 7, 1, Qt::AlignRight);
    adjustSize();
    placeOnScreen(this);
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    event->accept();
}

} // namespace kvl
