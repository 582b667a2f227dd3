#include "app/Form1.h"
#include "app/LivePreview.h"
#include "app/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtPlatform platform;
    Form1 form(platform);
    form.Form_Load();
    form.show();
    // Not one of the start-up steps: the preview goes beside the window, once that is placed.
    form.preview().restore();
    return app.exec();
}
