#include "app/Form1.h"
#include "app/QtPlatform.h"
#include "platform/LibraryWarnings.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    KeepLibraryWarningsOffTheTerminal();
    QApplication app(argc, argv);
    QtPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    form.show();
    return app.exec();
}
