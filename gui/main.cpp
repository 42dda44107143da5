// quorlet-gui: the window of the Quorlet Logic Minimizer.
#include <QApplication>
#include <string>
#include <vector>

#include "StageTable.h"
#include "UFormQuorlet.h"
#include "USubExec.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlet"));
    QApplication::setApplicationVersion(QStringLiteral("4.61"));

    quorlet::RegisterQuorletStages();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    quorlet::TQuorletWindows windows(quorlet::ExecutableDir(), arguments);
    QObject::connect(&windows.Main(), &quorlet::TFormQuorlet::Closed, &app, &QApplication::quit);
    windows.Main().show();
    return app.exec();
}
