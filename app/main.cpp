#include "shell/AppHooks.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORLIN Analysis Software"));
    kvl::registerAllForms();
    kvl::frmMain main;
    main.startUp();
    return app.exec();
}
