#include "shell/AppHooks.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORLIN Analysis Software"));
    kvl::registerAllForms();
    kvl::frmMain main;
    // "kvl-analysis FILE.kvl" (and a double-click on a data file) loads it.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        main.setStartFile(args.at(1));
    main.startUp();
    return app.exec();
}
