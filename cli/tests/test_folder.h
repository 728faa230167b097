// A fresh folder for one test in the system's temporary folder, removed
// with everything in it when the test ends.
#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace tb58mon {

class TestFolder {
public:
    TestFolder() {
        std::random_device random;
        char name[40];
        std::snprintf(name, sizeof name, "tb58mon-test-%08x%08x", random(), random());
        path_ = (std::filesystem::temp_directory_path() / name).string();
        std::filesystem::create_directory(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace tb58mon
