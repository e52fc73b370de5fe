#include "IcalReader.h"

#include "IcalHandles.h"
#include "PageColors.h"
#include "TaskVtodo.h"

#include "core/model/TypeRegistry.h"

#include <libical/ical.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace quillery::IcalReader {

namespace {

// Hands libical the file one physical line (or as much of it as fits) at a
// time. NUL bytes, which would cut a line short inside libical, become
// spaces.
struct Source {
    const char *data = nullptr;
    qsizetype size = 0;
    qsizetype pos = 0;
};

char *nextChunk(char *out, size_t room, void *d)
{
    auto *source = static_cast<Source *>(d);
    if (source->pos >= source->size || room < 2)
        return nullptr;
    qsizetype n = std::min<qsizetype>(qsizetype(room) - 1, source->size - source->pos);
    const char *from = source->data + source->pos;
    if (const void *newline = std::memchr(from, '\n', size_t(n)))
        n = static_cast<const char *>(newline) - from + 1;
    for (qsizetype i = 0; i < n; ++i)
        out[i] = from[i] == '\0' ? ' ' : from[i];
    out[n] = '\0';
    source->pos += n;
    return out;
}

// The component name of a BEGIN or END line ("VTODO"), empty for other
// lines. Only these two words are looked at, the way libical finds them
// (the name runs to the first ';' or ':'): they are what bounds nesting and
// lets events pass unbuilt; libical reads everything else.
QByteArrayView boundary(const char *line, bool *begin)
{
    const QByteArrayView view(line);
    const qsizetype separator = [&] {
        for (qsizetype i = 0; i < view.size(); ++i) {
            if (view[i] == ';' || view[i] == ':')
                return i;
        }
        return qsizetype(-1);
    }();
    if (separator < 0)
        return {};
    const QByteArrayView name = view.first(separator).trimmed();
    if (name.compare("BEGIN", Qt::CaseInsensitive) == 0)
        *begin = true;
    else if (name.compare("END", Qt::CaseInsensitive) == 0)
        *begin = false;
    else
        return {};
    const QByteArrayView value = view.sliced(separator + 1).trimmed();
    // An empty value still counts for nesting.
    return value.isEmpty() ? QByteArrayView("?") : value;
}

bool isSkippedKind(QByteArrayView name, bool *event)
{
    *event = name.compare("VEVENT", Qt::CaseInsensitive) == 0;
    return *event || name.compare("VJOURNAL", Qt::CaseInsensitive) == 0
        || name.compare("VFREEBUSY", Qt::CaseInsensitive) == 0;
}

QString xValue(icalcomponent *component, const char *name)
{
    for (icalproperty *p : ical::propertiesOf(component, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), name) == 0)
            return ical::fromIcal(icalproperty_get_x(p));
    }
    return {};
}

class Reader
{
public:
    Reader(const QString &fallbackTitle, const CalendarContext &calendar)
        : m_fallbackTitle(fallbackTitle)
        , m_calendar(calendar)
    { }

    IcalReadResult m_result;
    int m_tasks = 0;
    int m_skippedBefore = 0; // what was skipped before the current calendar began

    int skipped() const { return m_result.events + m_result.others + m_result.damaged; }
    bool m_sawCalendar = false;

    // Reads one top-level component; `owned` says whether it is ours to
    // free (one the parser closed itself stays the parser's).
    void take(icalcomponent *top, bool owned)
    {
        const ical::ComponentPtr owner(owned ? top : nullptr);
        if (icalcomponent_isa(top) != ICAL_VCALENDAR_COMPONENT) {
            ++m_result.damaged;
            return;
        }
        m_sawCalendar = true;
        ImportedPage page;
        // The name the calendar gives itself, in either of the two ways
        // planners write it; the file's name when it has none.
        page.title = xValue(top, "X-WR-CALNAME").simplified();
        if (icalproperty *name = icalcomponent_get_first_property(top, ICAL_NAME_PROPERTY);
            page.title.isEmpty() && name)
            page.title = ical::fromIcal(icalproperty_get_name(name)).simplified();
        if (page.title.isEmpty())
            page.title = m_fallbackTitle;
        bool ok = false;
        const int color = xValue(top, "X-QUILLERY-COLOR").toInt(&ok);
        if (ok)
            page.colorIndex = color;
        else if (icalproperty *css = icalcomponent_get_first_property(top, ICAL_COLOR_PROPERTY))
            page.colorIndex = PageColors::nearestIndex(ical::fromIcal(icalproperty_get_color(css)));

        for (icalcomponent *c : ical::componentsOf(top, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(c)) {
            case ICAL_VTODO_COMPONENT:
                if (TaskVtodo::isDamaged(c)) {
                    ++m_result.damaged;
                } else if (++m_tasks > MaxTasks) {
                    return;
                } else {
                    page.tasks.append(TaskVtodo::read(c, m_calendar, m_types));
                }
                break;
            case ICAL_VEVENT_COMPONENT:
                ++m_result.events;
                break;
            case ICAL_VTIMEZONE_COMPONENT:
                break;
            case ICAL_XLICINVALID_COMPONENT:
                ++m_result.damaged;
                break;
            default:
                ++m_result.others;
                break;
            }
        }
        // A calendar that held nothing but what was skipped makes no page.
        if (page.tasks.isEmpty() && skipped() > m_skippedBefore)
            return;
        arrange(page.tasks);
        m_result.pages.append(std::move(page));
    }

private:
    QString m_fallbackTitle;
    const CalendarContext &m_calendar;
    const TypeRegistry m_types;
};

QByteArray asUtf8(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        const QString text = utf16.decode(bytes);
        return text.toUtf8();
    }
    return bytes;
}

} // namespace

IcalReadResult read(QByteArray bytes, const QString &fallbackTitle, const CalendarContext &calendar)
{
    ical::ensureNonFatalErrors();
    bytes = asUtf8(std::move(bytes));
    Reader reader(fallbackTitle, calendar);
    Source source { bytes.constData(), bytes.size(), 0 };
    icalparser *parser = icalparser_new();
    icalparser_set_gen_data(parser, &source);

    int depth = 0;
    int skipBelow = 0; // while set, lines are passed over until depth drops below it
    while (char *line = icalparser_get_line(parser, nextChunk)) {
        bool begin = false;
        const QByteArrayView name = boundary(line, &begin);
        // An END with nothing open is noise libical would only complain of.
        const bool strayEnd = !name.isEmpty() && !begin && depth == 0;
        if (!name.isEmpty())
            depth = begin ? depth + 1 : std::max(0, depth - 1);
        if (strayEnd) {
            icalmemory_free_buffer(line);
            continue;
        }
        if (skipBelow > 0) {
            if (depth < skipBelow)
                skipBelow = 0;
            icalmemory_free_buffer(line);
            continue;
        }
        if (begin && !name.isEmpty()) {
            if (depth == 1)
                reader.m_skippedBefore = reader.skipped();
            bool event = false;
            if (depth > MaxDepth) {
                skipBelow = depth;
            } else if (depth == 2 && isSkippedKind(name, &event)) {
                skipBelow = depth;
                ++(event ? reader.m_result.events : reader.m_result.others);
            }
            if (skipBelow > 0) {
                icalmemory_free_buffer(line);
                continue;
            }
        }
        icalcomponent *done = icalparser_add_line(parser, line);
        icalmemory_free_buffer(line);
        if (done)
            reader.take(done, true);
        if (reader.m_tasks > MaxTasks)
            break;
    }
    if (reader.m_tasks <= MaxTasks) {
        // A component the file never closed: what of it is whole still counts.
        if (icalcomponent *unfinished = icalparser_clean(parser))
            reader.take(unfinished, false);
    }
    icalparser_free(parser);

    IcalReadResult result = std::move(reader.m_result);
    if (reader.m_tasks > MaxTasks) {
        result = {};
        result.error = QCoreApplication::translate("IcalReader",
            "The file holds more than %L1 tasks, more than "
            "Quillery imports at once.")
                           .arg(MaxTasks);
    } else if (!reader.m_sawCalendar && result.events == 0 && result.others == 0) {
        result = {};
        result.error = QCoreApplication::translate("IcalReader", "The file holds no iCalendar data.");
    }
    return result;
}

IcalReadResult readFile(const QString &path, const CalendarContext &calendar)
{
    IcalReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QCoreApplication::translate("IcalReader", "The file cannot be read: %1").arg(file.errorString());
        return result;
    }
    if (file.size() > MaxFileSize) {
        result.error = QCoreApplication::translate("IcalReader",
            "The file is larger than %1 MB, the most Quillery "
            "imports at once.")
                           .arg(MaxFileSize / (1024 * 1024));
        return result;
    }
    // Read no more than the limit, even from a file that grows meanwhile.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize) {
        result.error = QCoreApplication::translate("IcalReader",
            "The file is larger than %1 MB, the most Quillery "
            "imports at once.")
                           .arg(MaxFileSize / (1024 * 1024));
        return result;
    }
    return read(bytes, QFileInfo(path).completeBaseName(), calendar);
}

void arrange(QList<ical::VtodoTask> &tasks)
{
    const int n = int(tasks.size());
    QList<int> rank(n);
    std::iota(rank.begin(), rank.end(), 0);
    std::stable_sort(rank.begin(), rank.end(), [&](int a, int b) {
        const bool ha = tasks[a].order.has_value(), hb = tasks[b].order.has_value();
        if (ha != hb)
            return ha;
        return ha && *tasks[a].order < *tasks[b].order;
    });

    QHash<QString, int> byUid;
    for (int i = 0; i < n; ++i) {
        if (!tasks[i].uid.isEmpty() && !byUid.contains(tasks[i].uid))
            byUid.insert(tasks[i].uid, i);
    }
    QList<int> parent(n, -1);
    for (int i = 0; i < n; ++i) {
        const int p = tasks[i].parentUid.isEmpty() ? -1 : byUid.value(tasks[i].parentUid, -1);
        parent[i] = p == i ? -1 : p;
    }

    // Each task's root: walk up once per task, remembering the way, so the
    // whole walk is linear; a circle makes its first member a root.
    QList<int> root(n, -1);
    QList<bool> onPath(n, false);
    QList<int> path;
    for (int i = 0; i < n; ++i) {
        int j = i;
        path.clear();
        while (root[j] < 0 && !onPath[j] && parent[j] >= 0) {
            onPath[j] = true;
            path.append(j);
            j = parent[j];
        }
        const int r = root[j] >= 0 ? root[j] : j;
        root[j] = r;
        for (int k : path) {
            root[k] = r;
            onPath[k] = false;
        }
    }

    QHash<int, QList<int>> children;
    for (int i : rank) {
        if (root[i] != i)
            children[root[i]].append(i);
    }
    QList<ical::VtodoTask> arranged;
    arranged.reserve(n);
    for (int i : rank) {
        if (root[i] != i)
            continue;
        arranged.append(std::move(tasks[i]));
        arranged.last().indent = 0;
        for (int child : children.value(i)) {
            arranged.append(std::move(tasks[child]));
            arranged.last().indent = 1;
        }
    }
    tasks = std::move(arranged);
}

} // namespace quillery::IcalReader
