#include "DesktopNotificationSettings.h"

#include "core/app/AppPaths.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>
#include <optional>

namespace quillery::DesktopNotificationSettings {

namespace {

constexpr int QueryTimeout = 3000;

QString desktopId()
{
    return QString::fromLatin1(AppPaths::BundleIdentifier);
}

QString appName()
{
    return QStringLiteral("Quillery");
}

// Runs `program` and hands its standard output to `done`, or none when it is
// not installed, fails or takes too long.
void runQuery(QObject *context, const QString &program, const QStringList &arguments,
    std::function<void(std::optional<QByteArray>)> done)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        QMetaObject::invokeMethod(
            context, [done] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    auto *process = new QProcess(context);
    auto answered = std::make_shared<bool>(false);
    const auto answer = [process, answered, done](std::optional<QByteArray> output) {
        if (*answered)
            return;
        *answered = true;
        process->deleteLater();
        done(std::move(output));
    };
    QObject::connect(process, &QProcess::finished, context, [process, answer](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            answer(process->readAllStandardOutput());
        else
            answer(std::nullopt);
    });
    QObject::connect(process, &QProcess::errorOccurred, context, [answer](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            answer(std::nullopt);
    });
    QTimer::singleShot(QueryTimeout, process, [process] { process->kill(); });
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(path, arguments);
}

} // namespace

Desktop currentDesktop()
{
    const QList<QByteArray> names = qgetenv("XDG_CURRENT_DESKTOP").toUpper().split(':');
    for (const QByteArray &name : names) {
        if (name == "GNOME" || name == "GNOME-CLASSIC" || name == "GNOME-FLASHBACK")
            return Desktop::Gnome;
        if (name == "KDE")
            return Desktop::Kde;
        if (name == "XFCE")
            return Desktop::Xfce;
    }
    return Desktop::Other;
}

QString gnomeApplicationId(const QString &desktopId)
{
    QString id;
    for (const QChar c : desktopId.toLower()) {
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
        const QChar out = kept ? c : QChar(u'-');
        if (out == u'-' && id.endsWith(u'-'))
            continue;
        id += out;
    }
    return id;
}

bool kdePopupsSwitchedOff(const QByteArray &plasmanotifyrc, const QString &desktopId)
{
    const QByteArray header = "[Applications][" + desktopId.toUtf8() + ']';
    bool inGroup = false;
    bool off = false;
    for (QByteArray line : plasmanotifyrc.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inGroup = line == header;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        // KDE writes locale or immutability suffixes in brackets after a key.
        QByteArray key = line.left(equals).trimmed();
        if (const qsizetype bracket = key.indexOf('['); bracket >= 0)
            key.truncate(bracket);
        if (key == "ShowPopups")
            off = line.mid(equals + 1).trimmed().toLower() == "false";
    }
    return off;
}

bool xfceMuted(const QByteArray &listing, const QString &appName)
{
    const QByteArray name = appName.toUtf8();
    const QList<QByteArray> lines = listing.split('\n');
    // The first line describes the value ("Value is an array with 2 items:").
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() == name)
            return true;
    }
    return false;
}

void querySwitchedOff(QObject *context, std::function<void(bool switchedOff)> done)
{
    switch (currentDesktop()) {
    case Desktop::Gnome: {
        const QString schema = QStringLiteral("org.gnome.desktop.notifications.application:"
                                              "/org/gnome/desktop/notifications/application/%1/")
                                   .arg(gnomeApplicationId(desktopId()));
        runQuery(context, QStringLiteral("gsettings"), { QStringLiteral("get"), schema, QStringLiteral("enable") },
            [done](std::optional<QByteArray> output) { done(output && output->trimmed() == "false"); });
        return;
    }
    case Desktop::Kde: {
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/plasmanotifyrc");
        QFile file(path);
        const bool off = file.open(QIODevice::ReadOnly) && kdePopupsSwitchedOff(file.readAll(), desktopId());
        QMetaObject::invokeMethod(
            context, [done, off] { done(off); }, Qt::QueuedConnection);
        return;
    }
    case Desktop::Xfce:
        runQuery(context, QStringLiteral("xfconf-query"),
            { QStringLiteral("-c"), QStringLiteral("xfce4-notifyd"), QStringLiteral("-p"),
                QStringLiteral("/applications/muted_applications") },
            [done](std::optional<QByteArray> output) { done(output && xfceMuted(*output, appName())); });
        return;
    case Desktop::Other:
        break;
    }
    QMetaObject::invokeMethod(
        context, [done] { done(false); }, Qt::QueuedConnection);
}

bool open()
{
    QString program;
    QStringList arguments;
    switch (currentDesktop()) {
    case Desktop::Gnome:
        program = QStringLiteral("gnome-control-center");
        arguments = { QStringLiteral("notifications") };
        break;
    case Desktop::Kde:
        program = QStringLiteral("systemsettings");
        arguments = { QStringLiteral("kcm_notifications") };
        break;
    case Desktop::Xfce:
        program = QStringLiteral("xfce4-notifyd-config");
        break;
    case Desktop::Other:
        return false;
    }
    const QString path = QStandardPaths::findExecutable(program);
    return !path.isEmpty() && QProcess::startDetached(path, arguments);
}

} // namespace quillery::DesktopNotificationSettings
