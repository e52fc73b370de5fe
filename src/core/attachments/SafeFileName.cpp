#include "SafeFileName.h"

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

QString cleaned(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name)
        out.append(isUnsafe(c) ? QChar(u'_') : c);
    // Leading dots would hide the file or name the folder itself or its
    // parent; surrounding white space is easy to miss.
    qsizetype start = 0;
    while (start < out.size() && (out.at(start) == u'.' || out.at(start).isSpace()))
        ++start;
    out = out.mid(start).trimmed();
    return out;
}

// Cuts `name` to at most MaxNameBytes of UTF-8 without splitting a
// character, keeping a short extension when there is one.
QString cutToLimit(const QString &name)
{
    if (name.toUtf8().size() <= MaxNameBytes)
        return name;
    QString suffix = QFileInfo(name).completeSuffix();
    if (suffix.toUtf8().size() > 32)
        suffix.clear();
    const QString tail = suffix.isEmpty() ? QString() : u'.' + suffix;
    QString base = name.left(name.size() - tail.size());
    const qsizetype budget = MaxNameBytes - tail.toUtf8().size();
    while (!base.isEmpty() && base.toUtf8().size() > budget) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base.trimmed() + tail;
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
