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

#include "tests/support/TempFolder.h"

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.Path().empty());
        folder_ = temp_.Path();
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

    TempFolder temp_;
    std::filesystem::path folder_;
};
