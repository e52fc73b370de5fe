#include "CommandLine.h"

#include "core/app/Translations.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace quillery {

namespace {

// Options QGuiApplication reads for itself; the parser lets them pass.
const QStringList QtValueOptions = { QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("display"), QStringLiteral("style"),
    QStringLiteral("stylesheet"), QStringLiteral("session"), QStringLiteral("name"), QStringLiteral("title"),
    QStringLiteral("geometry"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"), QStringLiteral("widgetcount") };
const QStringList QtFlagOptions
    = { QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync") };

const char *const Context = "CommandLine";

} // namespace

CommandLine CommandLine::parse(
    const QStringList &arguments, const QProcessEnvironment &environment, const Translations *translations)
{
    const auto text = [translations](const char *source) {
        return translations ? translations->text(Context, source) : QString::fromUtf8(source);
    };
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("quillery"))).fileName();

    QCommandLineParser parser;
    // "-platform xcb" is one option, as Qt reads it, not seven letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringList { QStringLiteral("v"), QStringLiteral("version") });
    const QCommandLineOption background(QStringLiteral("background"));
    parser.addOptions({ help, version, background });
    for (const QString &name : QtValueOptions)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString &name : QtFlagOptions)
        parser.addOption(QCommandLineOption(name));

    CommandLine result;
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        QString what;
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().constFirst();
            what = text(QT_TRANSLATE_NOOP("CommandLine", "unknown option '%1'"))
                       .arg((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        } else if (!parser.positionalArguments().isEmpty()) {
            what = text(QT_TRANSLATE_NOOP("CommandLine", "unexpected argument '%1'"))
                       .arg(parser.positionalArguments().constFirst());
        } else {
            what = parser.errorText();
        }
        //: The one line for a command line Quillery cannot follow.
        result.error = text(QT_TRANSLATE_NOOP("CommandLine", "%1: %2 (try '%1 --help')")).arg(program, what) + u'\n';
        result.exitStatus = UsageError;
        return result;
    }
    if (parser.isSet(help)) {
        const auto line = [](const QString &keys, const QString &what) {
            return QStringLiteral("  %1%2\n").arg(keys, -16).arg(what);
        };
        result.output = text(QT_TRANSLATE_NOOP("CommandLine", "Usage: %1 [options]")).arg(program) + u'\n'
            + text(QT_TRANSLATE_NOOP("CommandLine", "A task planner shaped like a paper notebook."))
            + QStringLiteral("\n\n") + text(QT_TRANSLATE_NOOP("CommandLine", "Options:")) + u'\n'
            + line(QStringLiteral("-h, --help"), text(QT_TRANSLATE_NOOP("CommandLine", "Show this help and exit.")))
            + line(
                QStringLiteral("-v, --version"), text(QT_TRANSLATE_NOOP("CommandLine", "Show the version and exit.")))
            + line(QStringLiteral("--background"),
                text(QT_TRANSLATE_NOOP("CommandLine", "Start without showing the window.")))
            + u'\n'
            + text(QT_TRANSLATE_NOOP("CommandLine",
                "Qt's own options (-platform, -display, -style, ...) work as in every Qt program. See quillery(1)."))
            + u'\n';
        result.exitStatus = 0;
        return result;
    }
    if (parser.isSet(version)) {
        result.output = QStringLiteral("%1 %2\n").arg(program, QStringLiteral(QUILLERY_VERSION));
        result.exitStatus = 0;
        return result;
    }
    result.background = parser.isSet(background);

    QString platform = parser.value(QStringLiteral("platform"));
    if (platform.isEmpty())
        platform = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (!parser.isSet(QStringLiteral("display")) && !displayReachable(platform, environment)) {
        result.error = program + QStringLiteral(": ")
            + text(QT_TRANSLATE_NOOP("CommandLine", "no display: set DISPLAY or WAYLAND_DISPLAY")) + u'\n';
        result.exitStatus = NoDisplay;
    }
    return result;
}

bool CommandLine::displayReachable(const QString &platform, const QProcessEnvironment &environment)
{
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    QString wayland = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    const bool waylandNamed = !wayland.isEmpty();
    // Qt's Wayland plugin tries "wayland-0" when none is named.
    if (wayland.isEmpty())
        wayland = QStringLiteral("wayland-0");
    if (!QDir::isAbsolutePath(wayland))
        wayland = environment.value(QStringLiteral("XDG_RUNTIME_DIR")) + u'/' + wayland;
    const bool waylandThere = QFileInfo::exists(wayland);

    // Qt tries the platforms of a list in turn ("wayland;xcb").
    const QStringList choices = platform.split(u';', Qt::SkipEmptyParts);
    if (choices.isEmpty())
        return x11 || waylandNamed;
    for (const QString &choice : choices) {
        const QString name = choice.section(u':', 0, 0);
        if (name == QLatin1String("xcb")) {
            if (x11)
                return true;
        } else if (name.startsWith(QLatin1String("wayland"))) {
            if (waylandThere)
                return true;
        } else {
            return true; // offscreen, vnc, eglfs, ...: no display server to reach
        }
    }
    return false;
}

} // namespace quillery
