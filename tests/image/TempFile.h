// A file with given bytes in the temporary folder, removed when the object goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

class TempFile {
public:
    explicit TempFile(const std::vector<uint8_t>& bytes, const std::string& extension = ".tga") {
        std::random_device random;
        path_ = (std::filesystem::temp_directory_path() /
                 ("bwvoq-test-" + std::to_string(random()) + std::to_string(random()) + extension))
                    .string();
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* Path() const { return path_.c_str(); }

private:
    std::string path_;
};
