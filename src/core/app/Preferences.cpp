#include "Preferences.h"

#include <QSettings>

namespace quillery {

Preferences::Preferences(QObject *parent)
    : Preferences(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillery"),
                      QStringLiteral("Quillery")),
        parent)
{ }

Preferences::Preferences(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
{
    m_typeface = m_settings->value(TypefaceKey, Sans).toString();
    m_hideCompleted = m_settings->value(HideCompletedKey, false).toBool();
    m_hintSeen = m_settings->value(HintSeenKey, false).toBool();
    m_currentPage = m_settings->value(CurrentPageKey, QString()).toString();
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

void Preferences::sync()
{
    m_settings->sync();
}

QString Preferences::fileName() const
{
    return m_settings->fileName();
}

} // namespace quillery
