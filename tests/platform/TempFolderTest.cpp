#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// Sets TMPDIR for one scope, and puts back what was there.
class ScopedTmpdir {
  public:
    explicit ScopedTmpdir(const std::string& value) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        setenv("TMPDIR", value.c_str(), 1);
    }
    ~ScopedTmpdir() {
        if (old_) setenv("TMPDIR", old_->c_str(), 1);
        else unsetenv("TMPDIR");
    }
    ScopedTmpdir(const ScopedTmpdir&) = delete;
    ScopedTmpdir& operator=(const ScopedTmpdir&) = delete;

  private:
    std::optional<std::string> old_;
};

TEST(TempFolderTest, EachFolderIsNewUnderTmpdirAndGoesWithEverythingInIt) {
    platform::TempFolder base("marshwade-base");
    ASSERT_FALSE(base.Path().empty());
    ScopedTmpdir tmpdir(base.Path().string());
    fs::path kept;
    {
        platform::TempFolder a("marshwade-a"), b("marshwade-a");
        ASSERT_FALSE(a.Path().empty());
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_EQ(a.Path().parent_path(), base.Path());
        EXPECT_EQ(a.Path().filename().string().rfind("marshwade-a-", 0), 0u);
        fs::create_directories(a.Path() / "CLP" / "deep");
        std::ofstream(a.File("CLP/deep/file.bin")) << "bytes";
        kept = a.Path();
    }
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_TRUE(fs::is_empty(base.Path()));
}

// No usable temporary folder, or a prefix that would place the folder elsewhere: no folder, an
// empty path, and nothing thrown.
TEST(TempFolderTest, WithoutAUsableFolderThePathIsEmptyAndNothingThrows) {
    platform::TempFolder base("marshwade-base");
    ASSERT_FALSE(base.Path().empty());
    std::ofstream(base.File("plain-file")) << "x";
    const struct {
        std::string tmpdir;
        std::string prefix;
    } cases[] = {
        {base.File("missing"), "marshwade"},
        {base.File("plain-file"), "marshwade"},
        {base.Path().string(), "../escape"},
    };
    for (const auto& c : cases) {
        ScopedTmpdir tmpdir(c.tmpdir);
        std::optional<platform::TempFolder> folder;
        EXPECT_NO_THROW(folder.emplace(c.prefix)) << c.tmpdir << " " << c.prefix;
        if (folder) {
            EXPECT_TRUE(folder->Path().empty()) << c.tmpdir << " " << c.prefix;
        }
    }
    EXPECT_FALSE(fs::exists(base.Path().parent_path() / "escape"));
}

}  // namespace
