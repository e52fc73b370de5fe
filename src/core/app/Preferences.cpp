#include "Preferences.h"

#include "core/util/SmallFile.h"

#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

namespace quillery {

namespace {

Q_LOGGING_CATEGORY(lcPreferences, "quillery.preferences")

// Four short values need a few hundred bytes.
constexpr qint64 MaxSettingsBytes = 1024 * 1024;

// QSettings reads its whole file as soon as it is made, and waits forever on
// a FIFO: whatever is not a small regular file is moved aside first.
std::unique_ptr<QSettings> userSettings()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Quillery/Quillery.conf");
    const QString problem = SmallFile::check(path, MaxSettingsBytes);
    if (!problem.isEmpty()) {
        const QString aside = SmallFile::moveAside(path);
        if (aside.isEmpty()) {
            qCWarning(lcPreferences).noquote()
                << "preferences file" << path << "unusable (" + problem + ") and could not be moved aside;"
                << "preferences are kept for this run only";
            return std::make_unique<QSettings>(QStringLiteral("/dev/null"), QSettings::IniFormat);
        }
        qCWarning(lcPreferences).noquote()
            << "preferences file" << path << "unusable (" + problem + "); moved to" << aside << "and started afresh";
    }
    return std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillery"), QStringLiteral("Quillery"));
}

} // namespace

Preferences::Preferences(QObject *parent)
    : Preferences(userSettings(), parent)
{ }

Preferences::Preferences(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
{
    m_typeface = m_settings->value(TypefaceKey, Sans).toString();
    m_hideCompleted = m_settings->value(HideCompletedKey, false).toBool();
    m_hintSeen = m_settings->value(HintSeenKey, false).toBool();
    m_currentPage = m_settings->value(CurrentPageKey, QString()).toString();
    m_keepReminders = m_settings->value(KeepRemindersKey, true).toBool();
    m_startAtLogin = m_settings->value(StartAtLoginKey, false).toBool();
}

Preferences::~Preferences()
{
    m_settings->sync();
}

void Preferences::write(const QString &key, const QVariant &value)
{
    m_settings->setValue(key, value);
    m_settings->sync();
}

void Preferences::setTypeface(const QString &typeface)
{
    if (m_typeface == typeface)
        return;
    m_typeface = typeface;
    write(TypefaceKey, typeface);
    Q_EMIT typefaceChanged();
}

void Preferences::setHideCompleted(bool hide)
{
    if (m_hideCompleted == hide)
        return;
    m_hideCompleted = hide;
    write(HideCompletedKey, hide);
    Q_EMIT hideCompletedChanged();
}

void Preferences::setHintSeen(bool seen)
{
    if (m_hintSeen == seen)
        return;
    m_hintSeen = seen;
    write(HintSeenKey, seen);
    Q_EMIT hintSeenChanged();
}

void Preferences::setCurrentPage(const QString &id)
{
    if (m_currentPage == id)
        return;
    m_currentPage = id;
    write(CurrentPageKey, id);
    Q_EMIT currentPageChanged();
}

void Preferences::setKeepRemindersWhenClosed(bool keep)
{
    if (m_keepReminders == keep)
        return;
    m_keepReminders = keep;
    write(KeepRemindersKey, keep);
    Q_EMIT keepRemindersWhenClosedChanged();
}

void Preferences::setStartAtLogin(bool start)
{
    if (m_startAtLogin == start)
        return;
    m_startAtLogin = start;
    write(StartAtLoginKey, start);
    Q_EMIT startAtLoginChanged();
}

void Preferences::sync()
{
    m_settings->sync();
}

QString Preferences::fileName() const
{
    return m_settings->fileName();
}

} // namespace quillery
