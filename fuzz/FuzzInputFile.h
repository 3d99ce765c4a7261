// The readers take open files, so each fuzz input is written to a file of this
// process's own and read back from there. A memory-backed folder, when there is
// one, makes this many times faster than a disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class FuzzInputFile {
public:
    explicit FuzzInputFile(const std::string& extension) {
        std::random_device random;
        std::error_code error;
        std::filesystem::path folder =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        path_ = (folder /
                 ("bwvoq-fuzz-" + std::to_string(random()) + std::to_string(random()) + extension))
                    .string();
    }
    ~FuzzInputFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    // Replaces the file's contents with the input.
    bool Write(const uint8_t* data, size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return static_cast<bool>(out);
    }

    const char* Path() const { return path_.c_str(); }

private:
    std::string path_;
};
