#include "app/Form1.h"

#include <QCoreApplication>

void Form1::Form_Load()
{
    setWindowTitle(QStringLiteral("Vantelle"));
}

void Form1::Form_Unload()
{
    QCoreApplication::quit();
}
