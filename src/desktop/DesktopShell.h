#pragma once

#include "platform/Places.h"
#include "platform/RandomSource.h"
#include "platform/Shell.h"

#include <random>

// The desktop's shell and folders, and random draws seeded from the clock.
class DesktopShell : public Shell, public Places, public RandomSource {
public:
    DesktopShell();

    bool OpenDocument(const QString& path) override;
    bool OpenWebAddress(const QString& address) override;
    QString DesktopFolder() override;
    QString PicturesFolder() override;
    QString ProgramFolder() override;
    double NextRandom() override;

private:
    std::mt19937 random_;
};
