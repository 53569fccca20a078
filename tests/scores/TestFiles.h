#pragma once
// Small helpers for tests that touch files: a fresh temporary folder removed afterwards, and whole-
// file reading and writing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "marshwade-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    static std::string ReadAll(const std::string& path) {
        std::string bytes;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            char chunk[4096];
            size_t n;
            while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
            std::fclose(f);
        }
        return bytes;
    }
    static void WriteAll(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    size_t FileCount() const {
        return size_t(std::distance(std::filesystem::directory_iterator(folder_),
                                    std::filesystem::directory_iterator()));
    }

    std::filesystem::path folder_;
};
