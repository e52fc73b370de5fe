#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace quillery::ui {

// One titled section of the task card: the heading (the section's name in
// capitals, small, semibold, tracked, in muted ink) over the section's body.
class CardSection final : public QWidget
{
    Q_OBJECT
public:
    CardSection(const QString &name, QWidget *parent = nullptr);

    // The section's name as given ("Photos & Files"); the heading shows it
    // in capitals.
    QString name() const { return m_name; }
    QLabel *heading() const { return m_heading; }
    QVBoxLayout *body() const { return m_body; }

    void setHeadingColor(const QColor &color);

private:
    QString m_name;
    QLabel *m_heading;
    QVBoxLayout *m_body;
};

} // namespace quillery::ui
