#include "platform/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString Organisation = QStringLiteral("Orlenby");
const QString Section = QStringLiteral("Vantelle");

// The settings of the section; the file is read as the object is made, and its status tells
// how that went.
class SectionFile {
public:
    SectionFile() : settings_(QSettings::IniFormat, QSettings::UserScope, Organisation, Section)
    {
        settings_.beginGroup(Section);
    }

    QSettings& settings() { return settings_; }
    QString path() const { return QDir::toNativeSeparators(settings_.fileName()); }

    // What went wrong while reading the file, for the user; empty when nothing did.
    QString readProblem()
    {
        switch (settings_.status()) {
        case QSettings::NoError:
            return QString();
        case QSettings::AccessError:
            return QStringLiteral("The settings file %1 cannot be read. The program starts "
                                  "with its default settings.").arg(path());
        case QSettings::FormatError:
            return damagedFileProblem();
        }
        return QString();
    }

private:
    // The settings object keeps only what it could read and writes only that back, so the
    // damaged file is copied before anything is written over it.
    QString damagedFileProblem()
    {
        const QString file = settings_.fileName();
        QString copy = file + QStringLiteral(".damaged");
        for (int n = 2; QFileInfo::exists(copy); ++n)
            copy = file + QStringLiteral(".damaged-%1").arg(n);
        QFile original(file);
        const QString damaged = QStringLiteral("The settings file %1 is damaged; settings that "
                                               "cannot be read in it are taken as not set.").arg(path());
        if (!original.copy(copy))
            return damaged + QStringLiteral(" No copy of it could be kept (%1), so what cannot "
                                            "be read is lost at the next change of a setting.")
                                 .arg(original.errorString());
        return damaged + QStringLiteral(" A copy of it was kept as %1.").arg(QDir::toNativeSeparators(copy));
    }

    QSettings settings_;
};

std::optional<QString> asText(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    // A hand-written value with commas outside quotes reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

// The settings object writes a new file and renames it over the old one; the new file is
// synced, the rename is made durable by syncing its folder. NTFS journals the rename itself.
void syncFolderOf(const QString& file)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
#else
    Q_UNUSED(file);
#endif
}

} // namespace

StoredSettingRead ReadSettingsFile(const QString& key)
{
    SectionFile file;
    return {asText(file.settings().value(key)), file.readProblem()};
}

StoredSettingWrite WriteSettingsFile(const QString& key, const QString& value)
{
    SectionFile file;
    const QString problem = file.readProblem();
    file.settings().setValue(key, value);
    file.settings().sync();
    if (file.settings().status() == QSettings::AccessError) {
        const QString failed = QStringLiteral("The settings could not be saved to %1: the file or "
                                              "its folder cannot be written.").arg(file.path());
        return {false, problem.isEmpty() ? failed : problem + QLatin1Char(' ') + failed};
    }
    syncFolderOf(file.settings().fileName());
    return {true, problem};
}

std::optional<QString> SettingsFileStore::StoredSetting(const QString& key)
{
    StoredSettingRead read = ReadSettingsFile(key);
    if (!read.problem.isEmpty())
        reportProblem(read.problem);
    return std::move(read.value);
}

void SettingsFileStore::StoreSetting(const QString& key, const QString& value)
{
    const StoredSettingWrite write = WriteSettingsFile(key, value);
    if (!write.problem.isEmpty())
        reportProblem(write.problem);
    if (write.saved)
        problemShown_ = false;
}

void SettingsFileStore::reportProblem(const QString& problem)
{
    if (problemShown_)
        return;
    problemShown_ = true;
    messages_.MsgBox(nullptr, problem, MsgBoxStyle::Exclamation, QString());
}
