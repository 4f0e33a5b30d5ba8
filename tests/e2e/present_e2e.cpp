// The SDL backend's screen copy on a virtual X display: without a GPU the window presents through its own
// surface; through SDL's software renderer and its OpenGL one (Mesa's rasteriser standing in for a GPU) when
// they are asked for. Each way, every present reaches the screen as the surface's pixels.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/x_session.h"

namespace {

struct Way {
    const char* renderDriver; // null: the backend chooses
    const char* expected;     // what the check prints about the way it presents
};

class PresentOnX : public ::testing::TestWithParam<Way> {};

} // namespace

TEST_P(PresentOnX, EveryPresentReachesTheScreen) {
    XSession x = {};
    if (!StartXSession(&x)) GTEST_SKIP() << "no Xvfb";
    setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    if (GetParam().renderDriver) {
        setenv("SDL_RENDER_DRIVER", GetParam().renderDriver, 1);
    } else {
        unsetenv("SDL_RENDER_DRIVER");
    }
    std::string log = std::string(VQ_SHOT_DIR) + "/present_check." + std::to_string(getpid()) + ".log";
    pid_t check = StartProgram(VQ_PRESENT_CHECK, log.c_str());
    int32_t code = -1;
    bool ended = WaitForExit(check, 120000, &code);
    if (!ended) KillProgram(check);
    unsetenv("SDL_RENDER_DRIVER");
    StopXSession(&x);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    unlink(log.c_str());
    ASSERT_TRUE(ended) << text.str();
    EXPECT_EQ(code, 0) << text.str();
    EXPECT_EQ(text.str().rfind(GetParam().expected, 0), 0u) << text.str();
}

static std::string WayName(const ::testing::TestParamInfo<Way>& i) {
    const char* driver = i.param.renderDriver;
    return !driver ? "WindowSurface" : std::string(driver) == "software" ? "SoftwareRenderer" : "OpenGL";
}

#if defined(__SANITIZE_ADDRESS__)
// Mesa under the address sanitizer is slow and reports its own allocations: the OpenGL way is checked in
// the optimised build.
INSTANTIATE_TEST_SUITE_P(Ways, PresentOnX,
                         ::testing::Values(Way{nullptr, "surface"}, Way{"software", "renderer"}), WayName);
#else
INSTANTIATE_TEST_SUITE_P(Ways, PresentOnX,
                         ::testing::Values(Way{nullptr, "surface"}, Way{"software", "renderer"},
                                           Way{"opengl", "renderer"}),
                         WayName);
#endif
