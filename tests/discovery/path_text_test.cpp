#include <gtest/gtest.h>

#include "discovery/path_text.h"
#include "discovery_fixture.h"

namespace {

TEST(PathText, EditsInPlace) {
    using Edit = void (*)(char*);
    Edit titleCase = [](char* text) { TitleCasePath(text); };
    Edit skip = [](char* text) { SkipToFirstLetter(text); };
    Edit cutAtBackslash = [](char* text) { CutAfterLast(text, '\\'); };
    const struct {
        Edit edit;
        std::string text, expected;
    } cases[] = {
        {titleCase, "o'neil 2.0\\plug-ins", "O'Neil 2.0\\Plug-Ins"},
        {titleCase, "a_b 3rd", "A_B 3Rd"},
        {titleCase, "c:\\tr \xe9\\\xc9", "C:\\Tr \xe9\\\xc9"},
        // A UTF-8 sequence is one letter: the letter after it stays small.
        {titleCase, "c:\\bilder\\müller\\plug-ins", "C:\\Bilder\\Müller\\Plug-Ins"},
        {titleCase, "", ""},
        {skip, "\"\"\"x", "x"},
        {skip, "\"123 \\\\", ""},
        {skip, "", ""},
        // Only the first 390 characters are looked at.
        {skip, std::string(390, '1') + "abc", ""},
        {skip, "\"Über", "Über"},
        {skip, "\"" + std::string(388, '1') + "插件", "插"},
        // The last character is not looked at.
        {cutAtBackslash, "C:\\A\\B\\", "C:\\A\\"},
        {cutAtBackslash, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char buffer[kPathSize];
        ASSERT_TRUE(CopyText(buffer, c.text.c_str()));
        c.edit(buffer);
        EXPECT_EQ(c.expected, buffer);
    }
}

TEST(PathText, JoinsWithOneBackslashAndRefusesWhatDoesNotFit) {
    char buffer[kPathSize] = "C:\\A";
    EXPECT_STREQ("C:\\A\\x", JoinPath(buffer, sizeof buffer, "x"));
    EXPECT_STREQ("C:\\B\\y", JoinPath(buffer, sizeof buffer, "y", "C:\\B\\"));

    // 398 characters fit, in any script.
    std::string widest = Repeat("插", kPathLength - 2);
    CopyText(buffer, widest.c_str());
    EXPECT_EQ(nullptr, JoinPath(buffer, sizeof buffer, "b"));
    EXPECT_STREQ((widest + "\\").c_str(), AddTrailingBackslash(buffer, sizeof buffer));

    std::string longest(kPathLength - 2, 'a');
    CopyText(buffer, longest.c_str());
    EXPECT_EQ(nullptr, JoinPath(buffer, sizeof buffer, "b"));
    EXPECT_EQ(nullptr, AddTrailingBackslash(buffer, longest.size() + 1));
    EXPECT_EQ(longest, buffer);
    EXPECT_STREQ((longest + "\\").c_str(), AddTrailingBackslash(buffer, sizeof buffer));
}

class ProbeFolderTest : public DiscoveryTest {};

// A partial name of an existing folder is found before its parent; a drive
// root is never tried.
TEST_F(ProbeFolderTest, EntersTheFolderOrTrimsItsLastComponent) {
    std::string host = MakeFolder("host");
    const struct {
        std::string path, entered;
    } cases[] = {
        {host + "\\", host},
        {host + "xyz", host},
        {host + ". ", host},
        {host + "\\plug-ins", host + "\\"},
        {temp / "missing\\plug-ins", ""},
        {"C:\\pastel-missing-folder\\", ""},
        {"C:\\", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        char path[kPathSize];
        CopyText(path, c.path.c_str());
        EXPECT_EQ(c.entered, ProbeFolder(path) ? path : "");
    }
}

}  // namespace
