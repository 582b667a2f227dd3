#include "platform/SettingsFile.h"

#include "platform/ControlCharacters.h"
#include "platform/FileSystem.h"
#include "platform/IniText.h"

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

bool readNothing(QIODevice&, QSettings::SettingsMap&)
{
    return true;
}

bool writeNothing(QIODevice&, const QSettings::SettingsMap&)
{
    return true;
}

// Where the settings file is, found without touching it: a settings object reads its file
// as it is made, and a named pipe there would hold the program for good. A settings object
// of a format of our own, whose files never exist, tells the place by its name; like every
// format, it lives where the INI format does, also when that place was moved.
QString settingsFileName()
{
    static const QSettings::Format locator =
        QSettings::registerFormat(QStringLiteral("vantelle-locator"), readNothing, writeNothing);
    const QString located = QSettings(locator, QSettings::UserScope, Organisation, Section).fileName();
    return located.left(located.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".ini");
}

// The name for a copy of a damaged file: ".damaged", then ".damaged-2", ... never one that
// is taken. `newest` gets the last copy that exists already, if any.
QString freeCopyName(const QString& file, QString* newest = nullptr)
{
    QString copy = file + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(copy); ++n) {
        if (newest)
            *newest = copy;
        copy = file + QStringLiteral(".damaged-%1").arg(n);
    }
    return copy;
}

QByteArray contentOf(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.read(MostSettingsFileBytes + 1) : QByteArray();
}

// The settings of the section. The file is looked at before the settings object may read
// it: only a file is ever opened, and a damaged one is kept before anything is written
// over it, since the settings object keeps only what it could read and writes only that back.
class SectionFile {
public:
    SectionFile() : file_(settingsFileName())
    {
        const FileKind kind = KindOfFile(file_);
        if (kind.kind == FileKind::Absent) {
            open();
            return;
        }
        if (kind.kind != FileKind::File) {
            refuse(kind.kind == FileKind::Unreachable ? kind.reason
                                                      : QStringLiteral("it is %1, not a file").arg(KindInWords(kind)));
            return;
        }
        QFile in(file_);
        if (!in.open(QIODevice::ReadOnly)) {
            refuse(in.errorString());
            return;
        }
        const QByteArray text = in.read(MostSettingsFileBytes + 1);
        in.close();
        if (text.size() > MostSettingsFileBytes) {
            setAsideOversized();
            return;
        }
        open();
        if (!IsCleanIniText(text) || settings_->status() == QSettings::FormatError)
            keepDamagedCopy(text);
        else if (settings_->status() == QSettings::AccessError)
            refuse(QStringLiteral("the settings reader could not open it"));
    }

    std::optional<QString> value(const QString& key) const
    {
        return settings_ ? asText(settings_->value(key)) : std::nullopt;
    }

    // Creates or replaces the key; the cause when it was not saved.
    std::optional<QString> write(const QString& key, const QString& value)
    {
        if (!notSaved_.isEmpty())
            return notSaved_;
        settings_->setValue(key, value);
        settings_->sync();
        if (settings_->status() == QSettings::AccessError)
            return QStringLiteral("the file or its folder cannot be written");
        syncFolder();
        return std::nullopt;
    }

    QString path() const { return QDir::toNativeSeparators(file_); }
    // What went wrong while reading the file, for the user; empty when nothing did.
    const QString& problem() const { return problem_; }

private:
    static std::optional<QString> asText(const QVariant& value)
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

    void open()
    {
        settings_.emplace(file_, QSettings::IniFormat);
        settings_->beginGroup(Section);
    }

    // Nothing is read from the file and nothing is written over it.
    void refuse(const QString& cause)
    {
        problem_ = QStringLiteral("The settings file %1 cannot be read: %2. The program starts with its "
                                  "default settings and leaves the file as it is.")
                       .arg(path(), cause);
        notSaved_ = cause;
    }

    // Too large to be read at every change of a setting, and too large to be ours: it is
    // moved aside whole, and the settings start afresh.
    void setAsideOversized()
    {
        const QString aside = freeCopyName(file_);
        const QString size = QString::number(double(QFileInfo(file_).size()) / (1024 * 1024), 'f', 1);
        QFile oversized(file_);
        if (!oversized.rename(aside)) {
            refuse(QStringLiteral("at %1 MiB it is larger than a settings file can be, and it could not be "
                                  "moved aside (%2)")
                       .arg(size, oversized.errorString()));
            return;
        }
        open();
        problem_ = QStringLiteral("The settings file %1 is damaged: at %2 MiB it is larger than a settings "
                                  "file can be. It was moved aside to %3, and the program starts with its "
                                  "default settings.")
                       .arg(path(), size, QDir::toNativeSeparators(aside));
    }

    // What can be read is read; the file as it is stays in a copy. Several reads before the
    // first write keep one copy, not one each.
    void keepDamagedCopy(const QByteArray& text)
    {
        const QString damaged = QStringLiteral("The settings file %1 is damaged; settings that cannot "
                                               "be read in it are taken as not set.")
                                    .arg(path());
        QString newest;
        QString copy = freeCopyName(file_, &newest);
        if (!newest.isEmpty() && contentOf(newest) == text)
            copy = newest;
        else if (QFile original(file_); !original.copy(copy)) {
            notSaved_ = QStringLiteral("no copy of the damaged file could be kept (%1), so it is left as it is")
                            .arg(original.errorString());
            problem_ = damaged + QStringLiteral(" Changes of settings are not saved: ") + notSaved_ + QLatin1Char('.');
            return;
        }
        problem_ = damaged + QStringLiteral(" A copy of it was kept as %1.").arg(QDir::toNativeSeparators(copy));
    }

    // The settings object writes a new file and renames it over the old one; the new file is
    // synced, the rename is made durable by syncing its folder. NTFS journals the rename itself.
    void syncFolder() const
    {
#ifdef Q_OS_UNIX
        const QByteArray folder = QFile::encodeName(QFileInfo(file_).absolutePath());
        const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor >= 0) {
            ::fsync(descriptor);
            ::close(descriptor);
        }
#endif
    }

    QString file_;
    std::optional<QSettings> settings_;
    QString problem_;
    QString notSaved_; // why nothing may be written, when nothing may
};

} // namespace

StoredSettingRead ReadSettingsFile(const QString& key)
{
    const SectionFile file;
    return {file.value(key), file.problem()};
}

StoredSettingWrite WriteSettingsFile(const QString& key, const QString& value)
{
    SectionFile file;
    const std::optional<QString> notSaved = file.write(key, value);
    if (!notSaved)
        return {true, file.problem()};
    const QString failed = QStringLiteral("The settings could not be saved to %1: %2.").arg(file.path(), *notSaved);
    return {false, file.problem().isEmpty() ? failed : file.problem() + QLatin1Char(' ') + failed};
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
    messages_.MsgBox(nullptr, EscapeControlCharacters(problem), MsgBoxStyle::Exclamation, QString());
}
