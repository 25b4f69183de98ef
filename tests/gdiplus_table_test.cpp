#include <gtest/gtest.h>

#include "imaging/gdiplus_api.h"

TEST(GdiplusTable, EveryFunctionIsBoundAndGdiplusStarts) {
    ASSERT_TRUE(gdip::Available());
    ULONG_PTR token = 0;
    gdip::StartupInput input;
    EXPECT_EQ(gdip::kOk, gdip::Table().GdiplusStartup(&token, &input, nullptr));
    EXPECT_NE(0u, token);
    gdip::Table().GdiplusShutdown(token);
}

TEST(Charset, NarrowLiteralsAreGbk) {
    // 宋体 in GBK is CB CE CC E5.
    const char* face = "宋体";
    ASSERT_EQ(4u, strlen(face));
    EXPECT_EQ('\xCB', face[0]);
    EXPECT_EQ('\xE5', face[3]);
    EXPECT_EQ(936u, GetACP());
}
