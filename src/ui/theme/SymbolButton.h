#pragma once

#include <QAbstractButton>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// A plain button showing one system symbol in muted ink, centred in a fixed
// frame that is all hit area. It can be faded (inert, symbol at 30 %) or
// hidden (inert and invisible, still holding its place).
class SymbolButton final : public QAbstractButton
{
    Q_OBJECT
public:
    enum class Look { Active, Faded, Hidden };

    SymbolButton(const QString &symbol, int symbolSize, const QSize &frame, const Appearance &appearance,
        QWidget *parent = nullptr);

    Look look() const { return m_look; }
    void setLook(Look look);

    QString symbol() const { return m_symbol; }
    QSize sizeHint() const override { return m_frame; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Appearance &m_appearance;
    QString m_symbol;
    int m_symbolSize;
    QSize m_frame;
    Look m_look = Look::Active;
};

} // namespace quillery::ui
