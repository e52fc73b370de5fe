#include "core/model/TypeRegistry.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(TypeRegistry, conformanceFollowsParentsTransitively)
{
    const TypeRegistry types;
    EXPECT_TRUE(types.conformsTo(QStringLiteral("public.jpeg"), TypeRegistry::image()));
    EXPECT_TRUE(types.conformsTo(QStringLiteral("public.jpeg"), TypeRegistry::data()));
    EXPECT_TRUE(types.conformsTo(QStringLiteral("public.jpeg"), TypeRegistry::item()));
    EXPECT_FALSE(types.conformsTo(TypeRegistry::pdf(), TypeRegistry::image()));
    EXPECT_FALSE(types.conformsTo(QStringLiteral("org.example.unknown"), TypeRegistry::data()));
    EXPECT_TRUE(types.isImage(QStringLiteral("public.png")));
    EXPECT_FALSE(types.isImage(QStringLiteral("public.image.unknown")));
    EXPECT_FALSE(types.isImage(QString()));
}

TEST(TypeRegistry, fileNamesMapToDataTypes)
{
    const TypeRegistry types;
    EXPECT_EQ(types.dataTypeForFileName(QStringLiteral("REPORT.PDF")), QStringLiteral("com.adobe.pdf"));
    EXPECT_EQ(types.dataTypeForFileName(QStringLiteral("Makefile")), QStringLiteral("public.data"));
    EXPECT_EQ(types.dataTypeForFileName(QStringLiteral("archive.tar.gz")), QStringLiteral("org.gnu.gnu-zip-archive"));
    EXPECT_EQ(types.dataTypeForFileName(QStringLiteral("strange.qqqzzz")), QStringLiteral("public.data"));
    EXPECT_EQ(types.dataTypeForFileName(QStringLiteral(".hidden")), QStringLiteral("public.data"));
}

TEST(TypeRegistry, extensionsUnknownToTheTableGoThroughTheMimeDatabase)
{
    // "mkd" is not in the table; the MIME database knows it as text/markdown.
    EXPECT_EQ(TypeRegistry().typeForExtension(QStringLiteral("mkd")), QStringLiteral("public.plain-text"));
}
