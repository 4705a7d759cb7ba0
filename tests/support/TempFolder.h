#pragma once
#include <filesystem>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with its contents.
struct TempFolder {
    TempFolder()
    {
        std::random_device random;
        path = std::filesystem::temp_directory_path() / ("norvelle_test_" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path path;
};
