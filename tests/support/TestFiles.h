// Test support: temporary folders and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A fresh folder under the system's temporary directory, removed with all its
// contents when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // The names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string path_;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

// A FENK file's text without its Date value, the one part in which two writes
// of the same image may differ.
std::string WithoutFenkDate(const std::string& text);

}  // namespace TestSupport
