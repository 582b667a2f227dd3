#include "TestMain.h"

#include <QCoreApplication>

// The layers below the window need no Qt Gui application, and start none of its threads.
int main(int argc, char* argv[])
{
    return RunAllTests<QCoreApplication>(argc, argv);
}
