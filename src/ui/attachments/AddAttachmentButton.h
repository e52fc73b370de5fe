#pragma once

#include <QAbstractButton>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// "Photo" and "File" under the attachment strip: a symbol and a label on a
// capsule of the rule colour, in the card's pill look (off).
class AddAttachmentButton final : public QAbstractButton
{
    Q_OBJECT
public:
    AddAttachmentButton(
        const QString &symbol, const QString &text, const Appearance &appearance, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    const Appearance &m_appearance;
    QString m_symbol;
    bool m_keyboardFocus = false; // the focus ring shows only then
};

} // namespace quillery::ui
