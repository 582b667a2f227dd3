#include "TestMain.h"

#include <QApplication>

// The window's tests run headless.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return RunAllTests<QApplication>(argc, argv);
}
