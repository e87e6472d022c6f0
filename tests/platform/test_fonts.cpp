#include "platform/Fonts.h"

#include <QFileInfo>
#include <QFont>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

TEST(Fonts, WindowsNamesGetTheirMetricCompatibleStandIns)
{
    EXPECT_EQ(FontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(FontFamily("Courier New"), "Courier New");
    if (!QFileInfo::exists("/usr/share/wine/fonts/tahoma.ttf"))
        GTEST_SKIP() << "Wine's Tahoma is not installed";
    EXPECT_TRUE(LoadApplicationFonts());
    EXPECT_EQ(FontFamily("Tahoma"), "Tahoma");
    EXPECT_EQ(FontFamily("tahoma"), "Tahoma");
    // The family really resolves to the loaded font, not a substitute.
    EXPECT_EQ(QFontInfo(QFont(FontFamily("Tahoma"))).family(), "Tahoma");
}

} // namespace
