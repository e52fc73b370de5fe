#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSettings;

namespace quillery {

// The user's preferences, kept in QSettings (~/.config/Quillery/, a small
// regular file: anything else found there is moved aside and logged). The
// program makes one and hands it to every view and menu, so a change made in
// one place is seen everywhere at once. Each key has its own signal, emitted
// only when the value really changes.
class Preferences final : public QObject
{
    Q_OBJECT
public:
    static inline const QString TypefaceKey = QStringLiteral("typeface");
    static inline const QString HideCompletedKey = QStringLiteral("hideCompleted");
    static inline const QString HintSeenKey = QStringLiteral("hintSeen");
    static inline const QString CurrentPageKey = QStringLiteral("currentPage");
    static inline const QString KeepRemindersKey = QStringLiteral("keepRemindersWhenClosed");
    static inline const QString StartAtLoginKey = QStringLiteral("startAtLogin");

    static inline const QString Sans = QStringLiteral("sans");
    static inline const QString Serif = QStringLiteral("serif");

    // Reads and writes the user's settings file.
    explicit Preferences(QObject *parent = nullptr);
    // Reads and writes the given settings (tests use a temporary file).
    explicit Preferences(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    ~Preferences() override;

    // "sans" or "serif"; any other stored text is kept and drawn as sans.
    QString typeface() const { return m_typeface; }
    void setTypeface(const QString &typeface);

    bool hideCompleted() const { return m_hideCompleted; }
    void setHideCompleted(bool hide);

    bool hintSeen() const { return m_hintSeen; }
    void setHintSeen(bool seen);

    // The id text of the page shown last; empty when none is remembered.
    QString currentPage() const { return m_currentPage; }
    void setCurrentPage(const QString &id);

    // Whether closing the window leaves Quillery running for its reminders
    // (on unless switched off).
    bool keepRemindersWhenClosed() const { return m_keepReminders; }
    void setKeepRemindersWhenClosed(bool keep);

    // Whether Quillery starts, without its window, when the user logs in.
    bool startAtLogin() const { return m_startAtLogin; }
    void setStartAtLogin(bool start);

    // Writes pending values to disk now.
    void sync();
    // The file the preferences are kept in.
    QString fileName() const;

Q_SIGNALS:
    void typefaceChanged();
    void hideCompletedChanged();
    void hintSeenChanged();
    void currentPageChanged();
    void keepRemindersWhenClosedChanged();
    void startAtLoginChanged();

private:
    void write(const QString &key, const QVariant &value);

    std::unique_ptr<QSettings> m_settings;
    QString m_typeface;
    bool m_hideCompleted = false;
    bool m_hintSeen = false;
    QString m_currentPage;
    bool m_keepReminders = true;
    bool m_startAtLogin = false;
};

} // namespace quillery
