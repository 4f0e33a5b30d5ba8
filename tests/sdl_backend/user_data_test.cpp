// The SDL backend's data directory follows the XDG rule and its local time is the system's.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <string>

#include "toolkit/platform/platform.h"

namespace {

class SdlUserDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velquist-sdl-data.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        Keep("XDG_DATA_HOME", &dataHome);
        Keep("HOME", &home);
    }
    void TearDown() override {
        Restore("XDG_DATA_HOME", dataHome);
        Restore("HOME", home);
        EXPECT_EQ(system(("rm -rf '" + root + "'").c_str()), 0);
    }
    static void Keep(const char* name, std::string* value) {
        const char* v = getenv(name);
        *value = v ? v : std::string(1, '\0');
    }
    static void Restore(const char* name, const std::string& value) {
        if (value.size() == 1 && value[0] == 0)
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }
    std::string Directory() {
        char path[512];
        uint32_t n = PlatformDataDirectory("Velquist", path, sizeof path);
        return std::string(path, n);
    }
    std::string root, dataHome, home;
};

TEST_F(SdlUserDataTest, TheDirectoryFollowsXdgDataHomeOrTheHomeDirectory) {
    struct Case {
        const char* name;
        const char* dataHome; // null = unset
        std::string expected;
    };
    const Case cases[] = {
        {"XDG_DATA_HOME", "/xdg", root + "/xdg/Velquist/"},
        {"a relative XDG_DATA_HOME is ignored", "relative", root + "/home/.local/share/Velquist/"},
        {"unset", nullptr, root + "/home/.local/share/Velquist/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("HOME", (root + "/home").c_str(), 1);
        if (c.dataHome)
            setenv("XDG_DATA_HOME", c.dataHome[0] == '/' ? (root + c.dataHome).c_str() : c.dataHome, 1);
        else
            unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(Directory(), c.expected);
        struct stat st;
        EXPECT_EQ(stat(c.expected.c_str(), &st), 0);
    }
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(Directory(), "") << "no home, no directory";
}

TEST_F(SdlUserDataTest, TheLocalTimeIsTheSystemsToTheSecond) {
    PlatformTime t = {};
    time_t before = time(nullptr);
    PlatformLocalTime(&t);
    time_t after = time(nullptr);
    struct tm local = {};
    localtime_r(&before, &local);
    if (before != after) return; // a second went by: nothing to compare to the second
    EXPECT_EQ(t.year, local.tm_year + 1900);
    EXPECT_EQ(t.month, local.tm_mon + 1);
    EXPECT_EQ(t.day, local.tm_mday);
    EXPECT_EQ(t.dayOfWeek, local.tm_wday);
    EXPECT_EQ(t.hour, local.tm_hour);
    EXPECT_EQ(t.minute, local.tm_min);
    EXPECT_LT(t.milliseconds, 1000);
}

} // namespace
