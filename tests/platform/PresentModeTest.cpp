// The environment's choice of how windows present.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/SdlPresenter.h"

namespace {

TEST(PresentMode, TheRendererOnlyWhenAskedForByName) {
    struct Case {
        const char* value;  // null: unset
        platform::PresentMode mode;
    };
    const Case cases[] = {
        {nullptr, platform::PresentMode::Surface},     {"", platform::PresentMode::Surface},
        {"surface", platform::PresentMode::Surface},   {"renderer", platform::PresentMode::Renderer},
        {"Renderer ", platform::PresentMode::Surface}, {"opengl", platform::PresentMode::Surface}};
    for (const Case& c : cases) {
        if (c.value)
            setenv("MARSHWADE_PRESENT", c.value, 1);
        else
            unsetenv("MARSHWADE_PRESENT");
        EXPECT_EQ(platform::PresentModeFromEnvironment(), c.mode) << (c.value ? c.value : "(unset)");
    }
    unsetenv("MARSHWADE_PRESENT");
    EXPECT_STREQ(platform::PresentModeName(platform::PresentMode::Renderer), "renderer");
}

}  // namespace
