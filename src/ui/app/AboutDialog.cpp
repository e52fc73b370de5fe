#include "AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

// Built into the program, so the dialog shows the icon also when Quillery
// runs from its build folder and no icon theme knows it.
const QString BuiltInIcon = QStringLiteral(":/app/icons/app.quillery.Quillery.svg");

QLabel *centredLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Quillery"));
    setWindowModality(Qt::WindowModal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 20);
    layout->setSpacing(10);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setAlignment(Qt::AlignHCenter);
    icon->setPixmap(QIcon(BuiltInIcon).pixmap(IconSize, IconSize));
    icon->setAccessibleName(tr("Quillery icon"));
    layout->addWidget(icon);

    QLabel *name = centredLabel(QStringLiteral("Quillery"), this);
    name->setObjectName(QStringLiteral("aboutName"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.8);
    nameFont.setBold(true);
    name->setFont(nameFont);
    layout->addWidget(name);

    m_version = centredLabel(tr("Version %1").arg(version()), this);
    m_version->setObjectName(QStringLiteral("aboutVersion"));
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_version);

    QLabel *description = centredLabel(tr("A task planner shaped like a paper notebook."), this);
    description->setObjectName(QStringLiteral("aboutDescription"));
    layout->addWidget(description);
    layout->addSpacing(8);

    QLabel *license = centredLabel(tr("Licence: %1").arg(QLatin1String(LicenseId)), this);
    license->setObjectName(QStringLiteral("aboutLicense"));
    layout->addWidget(license);

    QLabel *notice = centredLabel(tr("Quillery is free software: you can redistribute it and/or modify it under the "
                                     "terms of the GNU General Public License, version 3 or any later version. "
                                     "It comes with absolutely no warranty."),
        this);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    QFont small = notice->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    notice->setFont(small);
    notice->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(notice);

    const QString linkText = tr("Read the GNU General Public License");
    m_licenseLink = new QLabel(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(licenseUrl().toString().toHtmlEscaped(), linkText.toHtmlEscaped()),
        this);
    m_licenseLink->setObjectName(QStringLiteral("aboutLicenseLink"));
    m_licenseLink->setAlignment(Qt::AlignHCenter);
    m_licenseLink->setTextFormat(Qt::RichText);
    m_licenseLink->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_licenseLink->setOpenExternalLinks(true);
    m_licenseLink->setFocusPolicy(Qt::StrongFocus);
    m_licenseLink->setAccessibleName(linkText);
    layout->addWidget(m_licenseLink);
    layout->addSpacing(8);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_close = buttons->button(QDialogButtonBox::Close);
    m_close->setText(tr("Close"));
    m_close->setAccessibleName(tr("Close"));
    m_close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    setMinimumWidth(360);
    setMaximumWidth(480);
}

QString AboutDialog::version()
{
    return QStringLiteral(QUILLERY_VERSION);
}

QUrl AboutDialog::licenseUrl()
{
    return QUrl(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"));
}

} // namespace quillery::ui
