#pragma once
// A suite whose tests read what the asset generator writes: it is run once for the suite into a
// temporary folder of the suite's own, removed afterwards. Each suite derives with itself as Suite,
// so each has its own folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "graphics/ClipFileReader.h"
#include "tests/support/TempFolder.h"

template <typename Suite>
class GeneratedAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        temp_ = std::make_unique<TempFolder>("assetgen-suite");
        if (temp_->Path().empty()) return;
        folder_ = temp_->Path().string();
        ok_ = std::system((std::string("\"") + ASSETGEN_PATH + "\" \"" + folder_ + "\"").c_str()) == 0;
    }
    static void TearDownTestSuite() { temp_.reset(); }
    void SetUp() override { ASSERT_TRUE(ok_); }

    // CLP/<name>.clp of the generated folder, as the game reads it.
    static graphics::ClipFile Load(const std::string& name) {
        graphics::ClipFile clip;
        std::string reason;
        EXPECT_TRUE(graphics::ReadClipFile(folder_ + "/CLP/" + name + ".clp", clip, reason))
            << name << ": " << reason;
        return clip;
    }

    static inline std::unique_ptr<TempFolder> temp_;
    static inline std::string folder_;
    static inline bool ok_ = false;
};
