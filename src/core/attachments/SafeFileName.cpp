#include "SafeFileName.h"

#include <QFile>
#include <QFileInfo>

namespace quillery {

namespace {

constexpr qsizetype MaxNameBytes = 255;

bool isUnsafe(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'/' || u == u'\\' || u == 0)
        return true;
    // C0 and C1 controls, and format characters (bidirectional overrides can
    // make "gpj.exe" read as "exe.jpg").
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

// The length the file system sees: the name as encoded for the file system
// call, which can differ from toUtf8() (a lone surrogate is one byte there
// and three here).
qsizetype encodedSize(const QString &name)
{
    return QFile::encodeName(name).size();
}

QString cleaned(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(name.at(++i));
        } else if (c.isSurrogate() || isUnsafe(c)) {
            // A lone surrogate has no spelling on disk: it would be written
            // as a replacement character the name no longer shows.
            out.append(QChar(u'_'));
        } else {
            out.append(c);
        }
    }
    // Leading dots would hide the file or name the folder itself or its
    // parent; surrounding white space is easy to miss.
    qsizetype start = 0;
    while (start < out.size() && (out.at(start) == u'.' || out.at(start).isSpace()))
        ++start;
    out = out.mid(start).trimmed();
    return out;
}

// The longest start of `text` that encodes to at most `budget` bytes, never
// ending between the halves of a surrogate pair. A binary search, so a name
// of any length costs a few encodings, not one per character.
QString prefixWithin(const QString &text, qsizetype budget)
{
    qsizetype fits = 0;
    qsizetype tooLong = text.size() + 1;
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (encodedSize(text.left(middle)) <= budget)
            fits = middle;
        else
            tooLong = middle;
    }
    if (fits > 0 && fits < text.size() && text.at(fits - 1).isHighSurrogate())
        --fits;
    return text.left(fits);
}

// Cuts `name` to at most MaxNameBytes once encoded, keeping a short
// extension when there is one.
QString cutToLimit(const QString &name)
{
    if (encodedSize(name) <= MaxNameBytes)
        return name;
    QString suffix = QFileInfo(name).completeSuffix();
    if (encodedSize(suffix) > 32)
        suffix.clear();
    const QString tail = suffix.isEmpty() ? QString() : u'.' + suffix;
    const QString base = name.left(name.size() - tail.size());
    return prefixWithin(base, MaxNameBytes - encodedSize(tail)).trimmed() + tail;
}

} // namespace

QString safeFileName(const QString &name, const QString &fallback)
{
    QString safe = cutToLimit(cleaned(name));
    if (!safe.isEmpty())
        return safe;
    safe = cutToLimit(cleaned(fallback));
    return safe.isEmpty() ? QStringLiteral("Attachment") : safe;
}

} // namespace quillery
