// The user's files and the local time on the headless backend: the data directory under the root a test
// sets (real directories), whole-file reads, replacing writes, and the scripted clock.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace {

class UserDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolkit();
        char pattern[] = "/tmp/velquist-user-data.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + root + "'";
        EXPECT_EQ(system(command.c_str()), 0);
        ResetToolkit();
    }
    static bool IsDirectory(const std::string& path) {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    std::string root;
};

TEST_F(UserDataTest, TheDataDirectoryIsMadeUnderTheRootOnlyWhenThereIsOne) {
    char path[256];
    EXPECT_EQ(PlatformDataDirectory("Velquist", path, sizeof path), 0u) << "no root after a reset";
    HeadlessSetDataRoot((root + "/deeper/data/").c_str());
    std::string expected = root + "/deeper/data/Velquist/";
    EXPECT_EQ(PlatformDataDirectory("Velquist", path, sizeof path), expected.size());
    EXPECT_EQ(std::string(path), expected);
    EXPECT_TRUE(IsDirectory(expected));
    EXPECT_EQ(PlatformDataDirectory("Velquist", path, sizeof path), expected.size()) << "there already";
    struct Case {
        const char* name;
        uint32_t size;
    };
    const Case refused[] = {{"", 256}, {".", 256}, {"..", 256}, {"a/b", 256}, {"Velquist", 10}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        memset(path, 0x55, sizeof path);
        EXPECT_EQ(PlatformDataDirectory(c.name, path, c.size), 0u);
        EXPECT_EQ(path[0], 0x55) << "nothing written";
    }
    EXPECT_EQ(PlatformDataDirectory("Velquist", path, static_cast<uint32_t>(expected.size())), 0u)
        << "no room for the zero byte";
}

TEST_F(UserDataTest, WritesReplaceTheWholeFileAndReadsTellItsSize) {
    std::string file = root + "/log.bin";
    char buffer[16];
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, sizeof buffer), -1) << "missing";
    EXPECT_EQ(PlatformWriteFile(file.c_str(), "first contents", 14), -1);
    EXPECT_EQ(PlatformWriteFile(file.c_str(), "second", 6), -1);
    EXPECT_EQ(access((file + ".new").c_str(), F_OK), -1) << "no temporary file is left";
    memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, sizeof buffer), 6);
    EXPECT_STREQ(buffer, "second");
    // A buffer smaller than the file: the size says so, and only the buffer is filled.
    memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, 4), 6);
    EXPECT_STREQ(buffer, "seco");
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, 6), 6);
    EXPECT_EQ(PlatformWriteFile(file.c_str(), "", 0), -1);
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, sizeof buffer), 0);
    // A directory is no file; a file in a missing directory cannot be written and leaves nothing.
    EXPECT_EQ(PlatformReadFile(root.c_str(), buffer, sizeof buffer), -1);
    EXPECT_EQ(PlatformWriteFile((root + "/missing/log.bin").c_str(), "x", 1), 0);
    EXPECT_FALSE(IsDirectory(root + "/missing"));
}

TEST_F(UserDataTest, TheLocalTimeIsTheOneTheTestSets) {
    PlatformTime t = {};
    PlatformLocalTime(&t);
    EXPECT_EQ((std::vector<int32_t>{t.year, t.month, t.day, t.dayOfWeek}),
              (std::vector<int32_t>{2000, 1, 1, 6}))
        << "Saturday, the first of January 2000";
    PlatformTime set = {2024, 5, 1, 6, 15, 4, 9, 120};
    HeadlessSetLocalTime(&set);
    PlatformLocalTime(&t);
    EXPECT_EQ(memcmp(&t, &set, sizeof t), 0);
}

} // namespace

// Two programs saving one file at once both succeed, and the file is one of their contents whole.
TEST_F(UserDataTest, TwoWritersAtOnceBothSucceed) {
    std::string file = root + "/log.bin";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    const std::string mine(4096, child == 0 ? 'c' : 'p');
    int failed = 0;
    for (int i = 0; i < 100; i++) failed += PlatformWriteFile(file.c_str(), mine.data(), 4096) != -1;
    if (child == 0) _exit(failed);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(failed + WEXITSTATUS(status), 0) << "writes that failed";
    char buffer[4097] = {};
    EXPECT_EQ(PlatformReadFile(file.c_str(), buffer, 4097), 4096);
    EXPECT_TRUE(buffer == std::string(4096, 'c') || buffer == std::string(4096, 'p'));
}
