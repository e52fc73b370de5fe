#pragma once

#include "core/model/RecordPointer.h"
#include "ui/theme/CaretLineEdit.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace quillery {
class Appearance;
class Page;
} // namespace quillery

namespace quillery::ui {

// The top of a page: its title, edited in place ("Untitled" until named),
// and under it a short capsule in the page's colour. As a picture of the
// page the title is plain text, "Untitled" faded when the page has none.
class PageHeader final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int CapsuleGap = 8;
    static constexpr int CapsuleWidth = 36;
    static constexpr int CapsuleHeight = 4;

    PageHeader(Page *page, const Appearance &appearance, QWidget *parent = nullptr);

    QLineEdit *titleField() const { return m_field; }
    void setTitleFont(const QFont &font);
    void setAccent(const QColor &accent);
    void setSnapshot(bool snapshot);
    bool isSnapshot() const { return m_snapshot; }

    // The page went away: nothing more is read from or written to it.
    void detachPage();

    // What the header shows as the title ("Untitled" when there is none).
    QString shownTitle() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void pageTitleChanged();
    int fieldHeight() const;

    const Appearance &m_appearance;
    RecordPointer<Page> m_page;
    CaretLineEdit *m_field = nullptr;
    QColor m_accent;
    bool m_snapshot = false;
};

} // namespace quillery::ui
