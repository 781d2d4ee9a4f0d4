#include "framework/core/Cp1251.h"

#include <gtest/gtest.h>

using namespace Zorvin;

TEST(Cp1251, RussianRoundTrip)
{
    std::string w = W("Новая игра, Ёж №1");
    ASSERT_EQ(w.size(), 17u);
    EXPECT_EQ(static_cast<unsigned char>(w[0]), 0xCD); // Н
    EXPECT_EQ(static_cast<unsigned char>(w[12]), 0xA8); // Ё
    EXPECT_EQ(static_cast<unsigned char>(w[15]), 0xB9); // №
    EXPECT_EQ(Cp1251ToUtf8(w), "Новая игра, Ёж №1");
}

TEST(Cp1251, UnmappableAndMalformedInputIsDropped)
{
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x98\x83" "b"), "ab");    // snowman has no byte
    EXPECT_EQ(Utf8ToCp1251("a\xC3" "b"), "ab");             // cut sequence
    EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98"), "a");          // truncated at the end
    EXPECT_EQ(Utf8ToCp1251("\x80\xBF" "z"), "z");           // stray continuation bytes
}

TEST(Cp1251, EveryByteMapsBackToItself)
{
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue;
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << "byte " << b;
    }
}
