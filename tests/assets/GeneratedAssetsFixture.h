#pragma once
// A suite whose tests read what the asset generator writes: it is run once for the suite into a
// temporary folder of the suite's own, removed afterwards. Each suite derives with itself as Suite,
// so each has its own folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "graphics/ClipFileReader.h"

template <typename Suite>
class GeneratedAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "assetgen-suite-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        folder_ = pattern;
        ok_ = std::system((std::string("\"") + ASSETGEN_PATH + "\" \"" + folder_ + "\"").c_str()) == 0;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    void SetUp() override { ASSERT_TRUE(ok_); }

    // CLP/<name>.clp of the generated folder, as the game reads it.
    static graphics::ClipFile Load(const std::string& name) {
        graphics::ClipFile clip;
        std::string reason;
        EXPECT_TRUE(graphics::ReadClipFile(folder_ + "/CLP/" + name + ".clp", clip, reason))
            << name << ": " << reason;
        return clip;
    }

    static inline std::string folder_;
    static inline bool ok_ = false;
};
