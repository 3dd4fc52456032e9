// AcCmColor and AcCmEntityColor: methods, indexes, RGB and the word layout.
#include <gtest/gtest.h>

#include "dbcolor.h"

TEST(Color, DefaultsDiffer)
{
    AcCmColor color;
    EXPECT_TRUE(color.isByLayer());
    EXPECT_EQ(color.colorMethod(), AcCmEntityColor::kByLayer);
    EXPECT_EQ(color.colorIndex(), 256);
    AcCmEntityColor entityColor;
    EXPECT_TRUE(entityColor.isByColor());
    EXPECT_EQ(entityColor.red(), 0);
    EXPECT_EQ(entityColor.green(), 0);
    EXPECT_EQ(entityColor.blue(), 0);
}

TEST(Color, SetColorIndex)
{
    struct Case {
        Adesk::UInt16 index;
        Acad::ErrorStatus status;
        AcCmEntityColor::ColorMethod method;
        Adesk::UInt16 readBack;
    };
    const Case cases[] = {
        {0, Acad::eOk, AcCmEntityColor::kByBlock, 0},
        {1, Acad::eOk, AcCmEntityColor::kByACI, 1},
        {7, Acad::eOk, AcCmEntityColor::kByACI, 7},
        {255, Acad::eOk, AcCmEntityColor::kByACI, 255},
        {256, Acad::eOk, AcCmEntityColor::kByLayer, 256},
        {257, Acad::eOutOfRange, AcCmEntityColor::kByACI, 5},
        {1000, Acad::eOutOfRange, AcCmEntityColor::kByACI, 5},
    };
    for (const Case& c : cases) {
        AcCmColor color;
        ASSERT_EQ(color.setColorIndex(5), Acad::eOk);
        EXPECT_EQ(color.setColorIndex(c.index), c.status) << c.index;
        EXPECT_EQ(color.colorMethod(), c.method) << c.index;
        EXPECT_EQ(color.colorIndex(), c.readBack) << c.index;  // a refused index changes nothing
    }
    AcCmColor byBlock;
    byBlock.setColorIndex(0);
    EXPECT_TRUE(byBlock.isByBlock());
    EXPECT_FALSE(byBlock.isByLayer());
}

TEST(Color, TrueColour)
{
    AcCmColor color;
    EXPECT_EQ(color.setRGB(10, 20, 30), Acad::eOk);
    EXPECT_TRUE(color.isByColor());
    EXPECT_FALSE(color.isByACI());
    EXPECT_EQ(color.red(), 10);
    EXPECT_EQ(color.green(), 20);
    EXPECT_EQ(color.blue(), 30);
    // Method in the top byte, then red, green, blue.
    EXPECT_EQ(color.color(), 0xC20A141Eu);
    // The nearest palette index.
    AcCmColor pureRed;
    pureRed.setRGB(250, 2, 1);
    EXPECT_EQ(pureRed.colorIndex(), 1);
    AcCmColor grey;
    grey.setRGB(128, 128, 128);
    EXPECT_EQ(grey.colorIndex(), 8);
    // An ACI colour reads as its palette entry.
    AcCmColor blue;
    blue.setColorIndex(5);
    EXPECT_EQ(blue.red(), 0);
    EXPECT_EQ(blue.green(), 0);
    EXPECT_EQ(blue.blue(), 255);
}

TEST(Color, AciAndMethodsOfTheEntityColour)
{
    AcCmEntityColor c;
    c.setColorMethod(AcCmEntityColor::kByACI);
    c.setColorIndex(256);
    EXPECT_TRUE(c.isByLayer());
    c.setColor((static_cast<Adesk::UInt32>(AcCmEntityColor::kByACI) << 24) | 256);
    EXPECT_TRUE(c.isByLayer());  // ACI 256 counts as ByLayer
    c.setColor((static_cast<Adesk::UInt32>(AcCmEntityColor::kByACI) << 24) | 0);
    EXPECT_TRUE(c.isByBlock());
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(1), 0xFF0000u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(7), 0xFFFFFFu);
    EXPECT_EQ(AcCmEntityColor::lookUpACI(0, 0, 255), 5);
}
