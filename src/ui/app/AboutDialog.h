#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace quillery::ui {

// "About Quillery": the icon, the name, the version the program was built
// as, what it is for, and the licence with a link to its full text. Modal
// to the window it is opened from; Escape or Close dismisses it.
class AboutDialog final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int IconSize = 96;
    static constexpr const char *LicenseId = "GPL-3.0-or-later";

    explicit AboutDialog(QWidget *parent = nullptr);

    // The version the program was built as (the project's version).
    static QString version();
    // Where the full text of the licence is read.
    static QUrl licenseUrl();

    QLabel *versionLabel() const { return m_version; }
    QLabel *licenseLink() const { return m_licenseLink; }
    QPushButton *closeButton() const { return m_close; }

private:
    QLabel *m_version = nullptr;
    QLabel *m_licenseLink = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace quillery::ui
