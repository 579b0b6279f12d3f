#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace seedlens::test {

class TempDir {
public:
    TempDir() {
        static int counter = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        FPath = Base() / ("seedlens-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(FPath);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }

    // Writes Bytes to Name inside the folder and returns the file's path.
    std::filesystem::path Write(const std::string& Name, std::string_view Bytes) const {
        const auto path = FPath / Name;
        std::ofstream(path, std::ios::binary).write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
        return path;
    }

private:
    // The Wine runner names a folder of the run's own, removed once the
    // program has ended: on Windows a plug-in module the tests load stays
    // loaded, and so cannot be removed, until then.
    static std::filesystem::path Base() {
        if (const char* base = std::getenv("SEEDLENS_TEST_TEMP")) return base;
        return std::filesystem::temp_directory_path();
    }

    std::filesystem::path FPath;
};

}  // namespace seedlens::test
