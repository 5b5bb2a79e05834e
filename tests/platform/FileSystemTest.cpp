#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

TEST(FileSystem, BackslashesBecomeSlashesAndTheProgramFolderIsAbsolute) {
    EXPECT_EQ(FileSystem::ResolvePath("data\\Screens\\x.xml"), "data/Screens/x.xml");
    EXPECT_EQ(FileSystem::ResolvePath(""), "");
    EXPECT_TRUE(FileSystem::IsAbsolute("/tmp"));
    EXPECT_TRUE(FileSystem::IsAbsolute("\\tmp"));
    EXPECT_FALSE(FileSystem::IsAbsolute("data/x"));
    EXPECT_FALSE(FileSystem::IsAbsolute(""));

    // The program folder is where the executable is.
    const std::string program = FileSystem::ProgramDir();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '/');
    EXPECT_TRUE(FileSystem::IsAbsolute(program));
    EXPECT_TRUE(FileSystem::DirectoryExists(program));
}

TEST(FileSystem, CaseFallbackFindsFilesAndFolders) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("Data/Screens/LevelScreen.xml", "<x/>"));
    const std::string exact = dir / "Data/Screens/LevelScreen.xml";
    EXPECT_EQ(FileSystem::ResolvePath(dir.Path() + "data\\screens\\levelscreen.XML"), exact);
    EXPECT_EQ(FileSystem::ResolvePath(dir.Path() + "DATA/Screens/"), dir / "Data/Screens/");
    EXPECT_TRUE(FileSystem::FileExists(dir.Path() + "data/SCREENS/levelscreen.xml"));
    EXPECT_TRUE(FileSystem::DirectoryExists(dir.Path() + "data/screens"));
    EXPECT_FALSE(FileSystem::FileExists(dir.Path() + "data/screens"));
    std::string text;
    EXPECT_TRUE(FileSystem::ReadFile(dir.Path() + "DATA\\SCREENS\\LEVELSCREEN.XML", text));
    EXPECT_EQ(text, "<x/>");
    // No match: the normalised path comes back unchanged.
    EXPECT_EQ(FileSystem::ResolvePath(dir.Path() + "data\\screens\\missing.xml"), dir.Path() + "data/screens/missing.xml");
    EXPECT_FALSE(FileSystem::ReadFile(dir.Path() + "data/screens/missing.xml", text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(FileSystem::ReadFile(dir / "Data", text)) << "a folder is no file";
}

TEST(FileSystem, AtomicWritesCopiesFoldersRenamesAndRemovals) {
    TempDir dir;
    const std::string path = dir / "save.xml";
    ASSERT_TRUE(FileSystem::WriteFileAtomic(path, "first"));
    ASSERT_TRUE(FileSystem::WriteFileAtomic(path, "second"));
    std::string text;
    ASSERT_TRUE(FileSystem::ReadFile(path, text));
    EXPECT_EQ(text, "second");
    EXPECT_FALSE(FileSystem::FileExists(path + ".tmp"));
    // Writing into a folder that is missing fails and creates nothing.
    EXPECT_FALSE(FileSystem::WriteFileAtomic(dir / "none/save.xml", "x"));
    EXPECT_FALSE(FileSystem::DirectoryExists(dir / "none"));
    // A differently cased existing file is the one replaced.
    ASSERT_TRUE(FileSystem::WriteFileAtomic(dir.Path() + "SAVE.XML", "third"));
    ASSERT_TRUE(FileSystem::ReadFile(path, text));
    EXPECT_EQ(text, "third");
    EXPECT_TRUE(FileSystem::WriteFileAtomic(dir / "empty.txt", ""));
    EXPECT_TRUE(FileSystem::FileExists(dir / "empty.txt"));

    // A copy keeps an existing target.
    ASSERT_TRUE(dir.Write("app.ini", "shipped"));
    EXPECT_TRUE(FileSystem::CopyFileIfAbsent(dir / "app.ini", dir / "copy.ini"));
    ASSERT_TRUE(dir.Write("copy.ini", "changed by the user"));
    EXPECT_FALSE(FileSystem::CopyFileIfAbsent(dir / "app.ini", dir / "copy.ini"));
    ASSERT_TRUE(FileSystem::ReadFile(dir / "copy.ini", text));
    EXPECT_EQ(text, "changed by the user");
    EXPECT_FALSE(FileSystem::CopyFileIfAbsent(dir / "nothing.ini", dir / "other.ini"));
    EXPECT_FALSE(FileSystem::FileExists(dir / "other.ini"));

    // Folders are made, files renamed and removed.
    EXPECT_TRUE(FileSystem::MakeDirectories(dir.Path() + "a\\b/c/"));
    EXPECT_TRUE(FileSystem::DirectoryExists(dir / "a/b/c"));
    EXPECT_TRUE(FileSystem::MakeDirectories(dir / "a/b/c"));
    ASSERT_TRUE(dir.Write("a/file", "x"));
    EXPECT_FALSE(FileSystem::MakeDirectories(dir / "a/file/sub"));
    EXPECT_TRUE(FileSystem::RenameFile(dir / "a/file", dir / "a/moved"));
    EXPECT_TRUE(FileSystem::FileExists(dir / "a/moved"));
    EXPECT_TRUE(FileSystem::RemoveFile(dir / "A/MOVED"));
    EXPECT_FALSE(FileSystem::FileExists(dir / "a/moved"));
    EXPECT_FALSE(FileSystem::RemoveFile(dir / "a/moved"));
}
