#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "support/HeadlessEngine.h"
#include "support/TempDir.h"

namespace {

std::string Read(const std::string& path) {
    std::string s;
    FileSystem::ReadFile(path, s);
    return s;
}

}  // namespace

TEST(IniFile, ReadsValuesIgnoringCaseAndBlanks) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("a.ini", "; comment\r\n[SYSTEM]\r\n Windowed = 1 \r\nSoundVolume=0.25\r\n"
                                   "[LANGUAGES]\r\n0=\"data\\Text\\English.txt\"\r\n"));
    IniFile ini;
    ini.SetPath(dir / "a.ini");
    EXPECT_EQ(ini.GetInt("system", "WINDOWED", 0), 1);
    EXPECT_FLOAT_EQ(ini.GetFloat("SYSTEM", "SoundVolume", 1.0f), 0.25f);
    std::string v;
    ASSERT_TRUE(ini.Get("LANGUAGES", "0", v));
    EXPECT_EQ(v, "data\\Text\\English.txt");
    EXPECT_EQ(ini.GetInt("SYSTEM", "Missing", 7), 7);
    EXPECT_EQ(ini.GetInt("NOSECTION", "Windowed", 3), 3);
    EXPECT_FALSE(ini.Get("LANGUAGES", "Windowed", v)) << "keys belong to their own section";
}

TEST(IniFile, WriteKeepsUnknownLinesAndOrder) {
    TempDir dir;
    const std::string original = "# made by hand\n[SYSTEM]\nWindowed=0\nstray text\n\n[OTHER]\nX=1\n";
    ASSERT_TRUE(dir.Write("a.ini", original));
    IniFile ini;
    ini.SetPath(dir / "a.ini");
    ASSERT_TRUE(ini.SetInt("SYSTEM", "Windowed", 1));
    ASSERT_TRUE(ini.SetFloat("SYSTEM", "MusicVolume", 0.5f));
    ASSERT_TRUE(ini.Set("NEW", "Name", "value"));
    EXPECT_EQ(Read(dir / "a.ini"),
              "# made by hand\n[SYSTEM]\nWindowed=1\nstray text\nMusicVolume=0.500000\n\n[OTHER]\nX=1\n\n"
              "[NEW]\nName=value\n");
    EXPECT_EQ(ini.GetInt("SYSTEM", "Windowed", 0), 1);
    EXPECT_FLOAT_EQ(ini.GetFloat("SYSTEM", "MusicVolume", 0), 0.5f);
    EXPECT_EQ(ini.GetInt("OTHER", "X", 0), 1);
}

TEST(IniFile, MissingFileGivesDefaultsAndIsCreatedOnWrite) {
    TempDir dir;
    IniFile ini;
    EXPECT_EQ(ini.GetInt("A", "B", 5), 5);
    EXPECT_FALSE(ini.SetInt("A", "B", 1)) << "no path set";
    ini.SetPath(dir / "new.ini");
    EXPECT_EQ(ini.GetInt("A", "B", 5), 5);
    ASSERT_TRUE(ini.SetInt("A", "B", -3));
    EXPECT_EQ(Read(dir / "new.ini"), "[A]\nB=-3\n");
    EXPECT_EQ(ini.GetInt("a", "b", 5), -3);
}

TEST(IniFile, UnwritableFolderFailsWithoutTouchingAnything) {
    TempDir dir;
    IniFile ini;
    ini.SetPath(dir / "no/such/folder/a.ini");
    EXPECT_FALSE(ini.SetInt("A", "B", 1));
    EXPECT_EQ(ini.GetInt("A", "B", 9), 9);
}

TEST(IniFile, RoundTripThroughEngineBeforeInitiate) {
    TempDir dir;
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    ASSERT_TRUE(dir.Write("app.ini", "[SYSTEM]\nSysCursor=0\nCustom line kept\n[LANGUAGES]\n1=data\\Text\\Czech.txt\n"));
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->System_SetState(HGE_INIFILE, (dir / "app.ini").c_str());
    hge->Ini_SetInt("SYSTEM", "Windowed", 1);
    hge->Ini_SetFloat("SYSTEM", "SoundVolume", 0.75f);
    EXPECT_EQ(hge->Ini_GetInt("SYSTEM", "Windowed", 0), 1);
    EXPECT_FLOAT_EQ(hge->Ini_GetFloat("SYSTEM", "SoundVolume", 0), 0.75f);
    EXPECT_STREQ(hge->Ini_GetString("LANGUAGES", "1", ""), "data\\Text\\Czech.txt");
    EXPECT_STREQ(hge->Ini_GetString("LANGUAGES", "9", "fallback"), "fallback");
    hge->Release();
    EXPECT_NE(Read(dir / "app.ini").find("Custom line kept\n"), std::string::npos);
}
