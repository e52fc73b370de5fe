#include "gui/theme/AppFont.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace quillery;

TEST(AppFont, serifOnlyForSerifAndTheSystemFontOtherwise)
{
    const QFont sans = appFont(18, QFont::Normal, QStringLiteral("sans"));
    const QFont serif = appFont(34, QFont::Bold, QStringLiteral("serif"));
    const QFont unknown = appFont(18, QFont::Normal, QStringLiteral("rounded"));
    EXPECT_EQ(QFontInfo(sans).family(), QFontInfo(unknown).family()) << "unknown values draw in the default face";

    const QString serifFace = QFontInfo(serif).family();
    EXPECT_NE(serifFace, QFontInfo(sans).family());
    EXPECT_TRUE(serifFace.contains(QStringLiteral("Serif"), Qt::CaseInsensitive)) << serifFace.toStdString();
    EXPECT_EQ(serif.pixelSize(), 34) << "one point is one pixel of the layout";
}
