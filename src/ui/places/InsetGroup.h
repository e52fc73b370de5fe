#pragma once

#include <QWidget>

class QVBoxLayout;

namespace quillery::ui {

// A rounded card holding rows one under the other, with a hairline between
// neighbouring rows, the way grouped lists look.
class InsetGroup final : public QWidget
{
    Q_OBJECT
public:
    static constexpr qreal Radius = 10;

    explicit InsetGroup(QWidget *parent = nullptr);

    void addRow(QWidget *row);
    // Where the hairlines start: under the rows' text.
    void setSeparatorIndent(int indent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_layout;
    int m_separatorIndent = 16;
};

} // namespace quillery::ui
