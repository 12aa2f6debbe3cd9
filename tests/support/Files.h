#pragma once
// Whole files as bytes, for the tests of every layer (the native ones included).
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace support {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

inline bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes);
}

} // namespace support
