#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "discovery/candidate_list.h"
#include "discovery/path_text.h"
#include "discovery_fixture.h"

namespace {

template <typename Routine>
std::string Applied(const std::string& text, Routine routine) {
    char buffer[kPathSize];
    lstrcpynA(buffer, text.c_str(), sizeof buffer);
    routine(buffer);
    return buffer;
}

std::string TitleCased(const std::string& text) {
    return Applied(text, TitleCasePath);
}
std::string Skipped(const std::string& text) {
    return Applied(text, SkipToFirstLetter);
}
std::string CutAtBackslash(const std::string& text) {
    return Applied(text, [](char* buffer) { CutAfterLast(buffer, '\\'); });
}

TEST(TitleCasePath, CapitalisesAfterEveryNonLetter) {
    EXPECT_EQ("O'Neil 2.0\\Plug-Ins", TitleCased("o'neil 2.0\\plug-ins"));
    EXPECT_EQ("C:\\Program Files\\Adobe\\Photoshop 6.0\\Plug-Ins\\",
              TitleCased("C:\\PROGRAM FILES\\adobe\\photoshop 6.0\\plug-ins\\"));
    EXPECT_EQ("A_B 3Rd", TitleCased("a_b 3rd"));
    EXPECT_EQ("", TitleCased(""));
}

TEST(TitleCasePath, LeavesBytesAbove127AsTheyAre) {
    EXPECT_EQ("C:\\Tr \xe9\\\xc9", TitleCased("c:\\tr \xe9\\\xc9"));
}

TEST(SkipToFirstLetter, StartsAtTheDriveLetterOfAQuotedPath) {
    EXPECT_EQ("C:\\Apps\\Pi\\Iedit.exe\" \"%1\"", Skipped("\"C:\\Apps\\Pi\\Iedit.exe\" \"%1\""));
    EXPECT_EQ("already", Skipped("already"));
    EXPECT_EQ("x", Skipped("\"\"\"x"));
}

TEST(SkipToFirstLetter, EmptiesATextWithoutLetters) {
    EXPECT_EQ("", Skipped("\"123 \\\\"));
    EXPECT_EQ("", Skipped(""));
    // Only the first 390 characters are looked at.
    EXPECT_EQ("", Skipped(std::string(390, '1') + "abc"));
    EXPECT_EQ("c", Skipped(std::string(389, '1') + "c"));
}

TEST(CutAfterLast, KeepsTheTextUpToItsLastMark) {
    EXPECT_EQ("C:\\A\\", CutAtBackslash("C:\\A\\B\\"));
    EXPECT_EQ("C:\\A\\", CutAtBackslash("C:\\A\\app.exe"));
    // The first character is never looked at.
    EXPECT_EQ("\\abc", CutAtBackslash("\\abc"));
    EXPECT_EQ("abc", CutAtBackslash("abc"));
    EXPECT_EQ("", CutAtBackslash(""));
}

TEST(JoinPath, PutsOneBackslashBetween) {
    char buffer[kPathSize] = "C:\\A";
    EXPECT_STREQ("C:\\A\\plug-ins", JoinPath(buffer, sizeof buffer, "plug-ins"));
    lstrcpyA(buffer, "C:\\A\\");
    EXPECT_STREQ("C:\\A\\plugin", JoinPath(buffer, sizeof buffer, "plugin"));
    EXPECT_STREQ("C:\\B\\x", JoinPath(buffer, sizeof buffer, "x", "C:\\B"));
}

TEST(JoinPath, RefusesWhatDoesNotFit) {
    std::string longest(kPathSize - 2, 'a');
    char buffer[kPathSize];
    lstrcpyA(buffer, longest.c_str());
    EXPECT_EQ(nullptr, JoinPath(buffer, sizeof buffer, "b"));
    EXPECT_EQ(longest, buffer);
    EXPECT_EQ(nullptr, AddTrailingBackslash(buffer, longest.size() + 1));
    EXPECT_EQ(longest, buffer);
    EXPECT_STREQ((longest + "\\").c_str(), AddTrailingBackslash(buffer, sizeof buffer));
}

class ProbeFolderTest : public DiscoveryTest {};

TEST_F(ProbeFolderTest, EntersTheFolderOrTrimsItsLastComponent) {
    std::string host = MakeFolder("host");
    char path[kPathSize];

    lstrcpyA(path, (host + "\\").c_str());
    EXPECT_TRUE(ProbeFolder(path));
    EXPECT_EQ(host, path);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(0, lstrcmpiA(host.c_str(), current));

    // A partial name of an existing folder is found before its parent.
    lstrcpyA(path, (host + "xyz").c_str());
    EXPECT_TRUE(ProbeFolder(path));
    EXPECT_EQ(host, path);

    lstrcpyA(path, (host + "\\plug-ins").c_str());
    EXPECT_TRUE(ProbeFolder(path));
    EXPECT_EQ(host + "\\", path);
}

TEST_F(ProbeFolderTest, StopsAtTheParentAndNeverTriesADriveRoot) {
    char path[kPathSize];
    lstrcpyA(path, (temp.Path() + "missing\\plug-ins").c_str());
    EXPECT_FALSE(ProbeFolder(path));

    lstrcpyA(path, "C:\\pastel-missing-folder\\");
    EXPECT_FALSE(ProbeFolder(path));
    lstrcpyA(path, "C:\\");
    EXPECT_FALSE(ProbeFolder(path));
    lstrcpyA(path, "");
    EXPECT_FALSE(ProbeFolder(path));
}

}  // namespace
