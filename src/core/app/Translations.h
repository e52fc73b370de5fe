#pragma once

#include <QLocale>
#include <QString>

#include <memory>

class QTranslator;

namespace quillery {

// The catalogues of the user's language: Quillery's own and Qt's (the words
// of the standard dialogs and of Qt's own messages). They are read from
// share/quillery/translations beside the program (/usr/bin/quillery reads
// /usr/share/quillery/translations; the build reads build/share/...). A
// language without a catalogue of Quillery's gets the English one, which
// holds the English plural forms ("1 page", "2 pages").
class Translations final
{
public:
    // Reads the catalogues for `locale` (the user's language by default).
    explicit Translations(const QLocale &locale = QLocale());
    ~Translations();

    // Quillery's catalogue, or null when none could be read.
    const QTranslator *catalogue() const { return m_own.get(); }
    // The language of Quillery's catalogue ("de", "en"), empty without one.
    QString language() const;

    // Hands the catalogues to the running application, which then words
    // every translated text with them. They stay installed while this
    // object lives.
    void install();

    // A text of `context` in the catalogue's language (the English `source`
    // when it has none); for texts needed before there is an application.
    QString text(const char *context, const char *source) const;

    // Where the catalogues are looked for.
    static QString directory();

private:
    std::unique_ptr<QTranslator> m_own;
    std::unique_ptr<QTranslator> m_qt;
    bool m_installed = false;
};

} // namespace quillery
