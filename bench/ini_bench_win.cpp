// Load and save of the button section: our engine against the platform's profile functions
// (GetPrivateProfileStringA to list and read, WritePrivateProfileStringA to erase and write).
// Prints "RESULT ini.<reader>.<buttons>.<load|save>_ms <value>" lines for scripts/bench.
#include "settings/Ini.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

std::string MakeFile(int n) {
    std::string text = "[Window]\r\nCode=1\r\n[Buttons]\r\n";
    for (int i = 0; i < n; ++i) {
        std::string key = "face" + std::to_string(i);
        key.resize(19, ' ');
        text += key + "=:-" + std::to_string(i % 100) + "                Hint number " +
                std::to_string(i) + "\r\n";
    }
    return text;
}

struct Figures {
    double load = 0, save = 0;
    size_t buttons = 0;
};

Figures Ours(const std::string& path) {
    Figures f;
    TButtonList list;
    const auto t0 = Clock::now();
    {
        auto file = TEmoticonsIniFile::FromIniPath(path);
        file.GetButtons(list);
    }
    const auto t1 = Clock::now();
    {
        auto file = TEmoticonsIniFile::FromIniPath(path);
        file.SetButtons(list);
        file.Save();
    }
    f.load = Ms(t0, t1);
    f.save = Ms(t1, Clock::now());
    f.buttons = list.size();
    return f;
}

Figures Platform(const std::string& path) {
    Figures f;
    std::vector<std::pair<std::string, std::string>> lines;
    const auto t0 = Clock::now();
    std::vector<char> names(1 << 22);
    const DWORD n = GetPrivateProfileStringA("Buttons", nullptr, "", names.data(),
                                             static_cast<DWORD>(names.size()), path.c_str());
    for (DWORD i = 0; i < n;) {
        const std::string key(names.data() + i);
        i += static_cast<DWORD>(key.size()) + 1;
        char value[1024];
        const DWORD len =
            GetPrivateProfileStringA("Buttons", key.c_str(), "", value, sizeof value, path.c_str());
        lines.emplace_back(key, std::string(value, len));
    }
    const auto t1 = Clock::now();
    WritePrivateProfileStringA("Buttons", nullptr, nullptr, path.c_str());
    for (const auto& [key, value] : lines)
        WritePrivateProfileStringA("Buttons", key.c_str(), value.c_str(), path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flush the cache
    f.load = Ms(t0, t1);
    f.save = Ms(t1, Clock::now());
    f.buttons = lines.size();
    return f;
}

void Print(const char* reader, int n, const Figures& f) {
    if (f.buttons != static_cast<size_t>(n))
        std::printf("NOTE settings: %s read %zu of %d buttons\n", reader, f.buttons, n);
    std::printf("RESULT ini.%s.%d.load_ms %.4f\n", reader, n, f.load);
    std::printf("RESULT ini.%s.%d.save_ms %.4f\n", reader, n, f.save);
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "MOODPAD-BENCH.INI";
    for (int n : {1000, 10000}) {
        const std::string text = MakeFile(n);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        Print("ours", n, Ours(path));
        // The platform rewrites the file on every write, so its save grows with the square of
        // the list: a few seconds for 1,000 buttons, minutes for 10,000. It is measured at 1,000.
        if (n > 1000)
            continue;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        Print("platform", n, Platform(path));
    }
    DeleteFileA(path.c_str());
    return 0;
}
