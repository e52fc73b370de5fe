#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillery {

namespace {

const QString Catalogue = QStringLiteral("quillery");

std::unique_ptr<QTranslator> load(const QLocale &locale, const QString &name, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return nullptr;
    return translator;
}

} // namespace

Translations::Translations(const QLocale &locale)
{
    const QString folder = directory();
    m_own = load(locale, Catalogue, folder);
    if (!m_own)
        m_own = load(QLocale(QLocale::English), Catalogue, folder);
    // Only where Quillery speaks the language too: a dialog half in one
    // language and half in another is worse than one in English.
    if (m_own && language() != QLatin1String("en"))
        m_qt = load(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Translations::~Translations()
{
    if (m_installed && QCoreApplication::instance()) {
        for (QTranslator *translator : { m_own.get(), m_qt.get() })
            if (translator)
                QCoreApplication::removeTranslator(translator);
    }
}

QString Translations::language() const
{
    return m_own ? QLocale(m_own->language()).name().section(u'_', 0, 0) : QString();
}

void Translations::install()
{
    if (m_installed || !QCoreApplication::instance())
        return;
    m_installed = true;
    for (QTranslator *translator : { m_qt.get(), m_own.get() })
        if (translator)
            QCoreApplication::installTranslator(translator);
}

QString Translations::text(const char *context, const char *source) const
{
    const QString translated = m_own ? m_own->translate(context, source) : QString();
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

QString Translations::directory()
{
    // The program's own folder, read from the kernel: there may be no
    // application object yet (the command line is read before one exists).
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(program).absolutePath() + QStringLiteral("/../share/quillery/translations"));
}

} // namespace quillery
