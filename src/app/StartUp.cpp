#include "app/ApplicationTitle.h"
#include "app/Form1.h"
#include "app/Settings.h"
#include "platform/FileSystem.h"
#include "core/Failure.h"
#include "report/Trap.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

#include <cmath>

namespace {

const QString HomePage = QStringLiteral("https://www.orlenby.example/");

// One start in a hundred opens the home page: the draw is 1 to 100, and 7 opens it.
constexpr int HomePageDraws = 100;
constexpr int HomePageNumber = 7;

bool homePageDrawn(double random)
{
    return static_cast<int>(std::floor(random * HomePageDraws)) + 1 == HomePageNumber;
}

// The icon file holds every size the desktop asks for; each one is its own picture.
QIcon applicationIcon(const QString& path)
{
    const QIcon icon(path);
    if (icon.availableSizes().isEmpty())
        throw Failure(FailureNumber::FileNotFound,
                      QStringLiteral("The application icon %1 cannot be read").arg(path).toStdString());
    return icon;
}

} // namespace

void Form1::Form_Load()
{
    Trap trap(platform(), this, QStringLiteral("Form_Load"));
    trap.line(100, [&] { SetUpSkin(); });
    trap.line(102, [&] { setWindowTitle(QString::fromLatin1(ProductTitle)); });
    trap.line(104, [&] {
        // A data file like the skin and the cursor: without it the window keeps the desktop's
        // own icon; one that is there but cannot be read is reported.
        const QString path = ProgramFilePath(platform().ProgramFolder(), {"icons", "vantelle.ico"});
        if (!QFileInfo::exists(path))
            return;
        const QIcon icon = applicationIcon(path);
        setWindowIcon(icon);
        QGuiApplication::setWindowIcon(icon);
    });
    trap.line(106, [&] { QGuiApplication::setApplicationDisplayName(ApplicationTitle(QString::fromLatin1(ProductTitle))); });
    trap.line(108, [&] { LoadHandCursor(); });
    trap.line(110, [&] {
        // Opening the page hands it to the desktop, which does not keep start-up waiting.
        if (homePageDrawn(platform().NextRandom()) && !platform().OpenWebAddress(HomePage))
            throw Failure(FailureNumber::FileNotFound,
                          QStringLiteral("The home page %1 could not be opened").arg(HomePage).toStdString());
    });
    // Restoring a value changes its control, whose handler writes the value straight back.
    trap.line(112, [&] { Text1->setText(ReadSetting(platform(), SettingKeys::Image1)); });
    trap.line(114, [&] { Text2->setText(ReadSetting(platform(), SettingKeys::Image2)); });
    trap.line(116, [&] {
        const QString desktop = platform().DesktopFolder() + NativePaths.separator;
        Text4->setText(ReadSetting(platform(), SettingKeys::OutputFolder, desktop));
    });
    trap.line(118, [&] {
        OptionButton* const directions[] = {Option1, Option2, Option3, Option4};
        const int direction = SettingAsWholeNumber(ReadSetting(platform(), SettingKeys::Side));
        if (direction >= 1 && direction <= static_cast<int>(std::size(directions)))
            directions[direction - 1]->setChecked(true);
    });
    trap.line(120, [&] { Option5->setChecked(SettingAsYesNo(ReadSetting(platform(), SettingKeys::SaveInOutputFolder))); });
    // Option5 and Option6 are one group: selecting Option6 unselects Option5.
    trap.line(122, [&] { Option6->setChecked(SettingAsYesNo(ReadSetting(platform(), SettingKeys::SaveBesideOriginal))); });
    trap.line(124, [&] { Frame3->setEnabled(Option5->isChecked()); });
}

void Form1::Form_Unload()
{
    // Quitting closes every other window of the program; none of them stores anything then.
    unloaded_ = true;
    QCoreApplication::quit();
}
