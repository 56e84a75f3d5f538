#include "shell/frmStart.h"

#include "shell/Forms.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace kvl {

// Not a child of the main window: that one is disabled while the splash shows.
frmStart::frmStart(QWidget *) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmStart"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, formBackground());
    setPalette(pal);
    setAutoFillBackground(true);

    auto picture = [this](const QString &name, const QString &file) {
        auto *label = new QLabel(this);
        label->setObjectName(name);
        label->setPixmap(loadImage(file));
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    auto *layout = new QGridLayout(this);
    auto *acceuil = new QLabel(this);
    acceuil->setObjectName(QStringLiteral("Acceuil"));
    auto *title = new QLabel(QStringLiteral("ORLIN Analysis Software"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont f = title->font();
    f.setPointSize(18);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture(QStringLiteral("Image_Logo_Brel"), QStringLiteral("Logo Orlin.bmp")), 0, 0, 1,
                      2);
    layout->addWidget(title, 1, 0, 1, 2);
    layout->addWidget(picture(QStringLiteral("Image_KVL_Rack"), QStringLiteral("KVL 24-2 Rack.bmp")), 2, 0);
    layout->addWidget(picture(QStringLiteral("Image_KVL_Back"), QStringLiteral("KVL 24-2 Back.bmp")), 2, 1);
    layout->addWidget(acceuil, 3, 0, 1, 2);
    adjustSize();
    placeOnScreen(this);
}

} // namespace kvl
