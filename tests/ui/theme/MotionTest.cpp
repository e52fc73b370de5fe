#include "ui/theme/Motion.h"
#include "ui/theme/SpringAnimation.h"
#include "ui/theme/Symbols.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;

TEST(SpringAnimation, followsItsSpringHoldsItsDelayAndLandsExactly)
{
    const Spring bouncy { 0.35, 0.55 };
    SpringAnimation animation(bouncy);
    animation.setStartValue(0.0);
    animation.setEndValue(100.0);
    animation.setDelay(40);

    animation.setCurrentTime(20);
    EXPECT_DOUBLE_EQ(animation.currentValue().toDouble(), 0.0) << "held during the delay";
    animation.setCurrentTime(40 + 200);
    EXPECT_NEAR(animation.currentValue().toDouble(), 100.0 * bouncy.progress(0.2), 1e-6);
    double peak = 0;
    for (int t = 40; t < animation.duration(); t += 5) {
        animation.setCurrentTime(t);
        peak = std::max(peak, animation.currentValue().toDouble());
    }
    EXPECT_GT(peak, 100.0) << "it overshoots like its spring";
    animation.setCurrentTime(animation.duration());
    EXPECT_DOUBLE_EQ(animation.currentValue().toDouble(), 100.0);
}

TEST(Motion, runsToTheEndAndCleansUp)
{
    QObject owner;
    QList<double> seen;
    QPointer<QVariantAnimation> running
        = motion::easeOut(&owner, 120, 1.0, 0.0, [&](const QVariant &value) { seen << value.toDouble(); });
    ASSERT_TRUE(running);
    ASSERT_TRUE(QTest::qWaitFor([&] { return running.isNull(); }, 2000));
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_DOUBLE_EQ(seen.last(), 0.0);
    for (qsizetype i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen.at(i), seen.at(i - 1));
}

TEST(Symbols, everySymbolThePageDrawsIsThere)
{
    for (const char *name : { "chevron.left", "chevron.right", "ellipsis", "square.grid.2x2", "bell.badge", "gearshape",
             "eye.slash", "trash", "checkmark" }) {
        const QPixmap symbol = Symbols::pixmap(QString::fromLatin1(name), 18, Qt::red);
        ASSERT_FALSE(symbol.isNull()) << name;
        // Tinted: every drawn pixel takes the asked colour.
        const QImage image = symbol.toImage();
        bool drawn = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 255) {
                    drawn = true;
                    EXPECT_EQ(c.rgb(), QColor(Qt::red).rgb()) << name;
                }
            }
        EXPECT_TRUE(drawn) << name;
    }
}
