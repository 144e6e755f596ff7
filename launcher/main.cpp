#include "launcher/startup.h"
#include "launcher/templates.h"
#include "platform/dialog_kit/display.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char* argv[]) {
    launcher::PathBuffer commandLine{};
    const launcher::LaunchMode mode = launcher::classify(launcher::joinCommandLine(argc, argv, commandLine));
    if (mode != launcher::LaunchMode::Configure)
        return launcher::runMode(mode);

    if (!platform::displayAvailable()) {
        std::fputs("Quorvel3D: no display can be opened, so the options cannot be shown\n", stderr);
        return 0;
    }
    // The command line belongs to the screen-saver convention alone: Qt would
    // take options such as -platform or -reverse from it, so it sees only
    // the program's name.
    char programName[] = "Quorvel3D";
    char* qtArgv[] = {programName, nullptr};
    int qtArgc = 1;
    QApplication application(qtArgc, qtArgv);
    QApplication::setWindowIcon(launcher::programIcon());
    return launcher::runMode(mode);
}
