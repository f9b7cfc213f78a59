#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "payload/file_name.h"

namespace {

std::string Mapped(const char* name) {
    char text[64];
    lstrcpynA(text, name, sizeof text);
    return MapPayloadFileName(text);
}

TEST(MapPayloadFileName, MapsThePayloadNames) {
    EXPECT_EQ("PastelCraft3.8bf", Mapped("PASTEL__CRAFT3.8BF"));
    EXPECT_EQ("Strokes.8tx", Mapped("STROKES.8TX"));
    EXPECT_EQ("PresetsPastelsbin", Mapped("PRESETS__PASTELSBIN"));
}

TEST(MapPayloadFileName, SpacesApostrophesDigitsAndColons) {
    EXPECT_EQ("My File.txt", Mapped("MY_FILE.TXT"));
    EXPECT_EQ("Don't Stop", Mapped("DON'T_STOP"));
    EXPECT_EQ("File8bit.dat", Mapped("FILE8BIT.DAT"));
    EXPECT_EQ("File7Bit.dat", Mapped("FILE7BIT.DAT"));
    EXPECT_EQ("Notetwo", Mapped("NOTE:TWO"));
}

TEST(MapPayloadFileName, ShortAndTrailingMarkers) {
    EXPECT_EQ("A", Mapped("a"));
    EXPECT_EQ("", Mapped(""));
    // A double underscore at the very end leaves nothing to capitalise.
    EXPECT_EQ("Ab", Mapped("AB__"));
    EXPECT_EQ("A B", Mapped("A___B"));
    // The last character is examined only as the follower of the one before.
    EXPECT_EQ("Ab_", Mapped("AB_"));
}

}  // namespace
