#include "gui/theme/Appearance.h"
#include "core/theme/ColorSchemeSource.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>

using namespace quillery;

namespace {

class FakeSource final : public ColorSchemeSource
{
public:
    std::optional<ColorScheme> preferred() const override { return value; }
    void set(std::optional<ColorScheme> next)
    {
        value = next;
        Q_EMIT preferredChanged();
    }
    std::optional<ColorScheme> value;
};

} // namespace

TEST(Appearance, followsTheDesktopPreferenceLive)
{
    Appearance appearance;
    auto source = std::make_unique<FakeSource>();
    QSignalSpy changed(&appearance, &Appearance::schemeChanged);
    appearance.setSource(source.get());
    EXPECT_EQ(appearance.scheme(), ColorScheme::Light) << "no preference: the (absent) palette decides";

    source->set(ColorScheme::Dark);
    EXPECT_EQ(appearance.scheme(), ColorScheme::Dark);
    source->set(ColorScheme::Dark);
    EXPECT_EQ(changed.count(), 1) << "a repeated preference is no change";

    appearance.setForcedScheme(ColorScheme::Light);
    EXPECT_EQ(appearance.scheme(), ColorScheme::Light);
    source->set(ColorScheme::Dark);
    EXPECT_EQ(appearance.scheme(), ColorScheme::Light) << "a pinned scheme ignores the desktop";
    appearance.setForcedScheme(std::nullopt);
    EXPECT_EQ(appearance.scheme(), ColorScheme::Dark);

    // A source that goes away leaves the fallback in charge.
    source.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(appearance.scheme(), ColorScheme::Light);
    appearance.setSource(nullptr);
}
