// Load and save times of the settings file for growing button lists. Prints figures only.
#include "settings/Ini.h"
#include "settings/IniEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

static double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

int main() {
    const fs::path dir = fs::temp_directory_path() / "moodpad-ini-bench";
    fs::create_directories(dir);
    const std::string path = (dir / "BENCH.INI").string();
    std::printf("%10s %10s %10s %10s %10s %10s %12s\n", "buttons", "load ms", "save ms",
                "best load", "best save", "parse ms", "file bytes");
    for (int n : {1000, 10000, 100000}) {
        std::string text = "[AutoInsert]\r\nEnabled=1\r\n[Window]\r\nCode=1\r\n[Buttons]\r\n";
        for (int i = 0; i < n; ++i) {
            std::string key = "face" + std::to_string(i);
            key.resize(19, ' ');
            text += key + "=:-" + std::to_string(i % 100) + "                Hint number " +
                    std::to_string(i) + "\r\n";
        }
        // The first round pays for fresh memory pages; the best of the rounds is the steady cost.
        double firstLoad = 0, firstSave = 0, bestLoad = 1e30, bestSave = 1e30, bestParse = 1e30;
        size_t read = 0;
        const int rounds = n >= 100000 ? 3 : 5;
        for (int round = 0; round < rounds; ++round) {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
            const auto t0 = Clock::now();
            TEmoticonsOptions options;
            TButtonList list;
            {
                auto file = TEmoticonsIniFile::FromIniPath(path);
                file.GetOptions(options);
                file.GetButtons(list);
            }
            const auto t1 = Clock::now();
            {
                auto file = TEmoticonsIniFile::FromIniPath(path);
                file.SetOptions(options);
                file.SetButtons(list);
                file.Save();
            }
            const auto t2 = Clock::now();
            const size_t sections = IniDocument::Parse(text).Sections().size();
            const auto t3 = Clock::now();
            if (round == 0) {
                firstLoad = Ms(t0, t1);
                firstSave = Ms(t1, t2);
            }
            bestLoad = std::min(bestLoad, Ms(t0, t1));
            bestSave = std::min(bestSave, Ms(t1, t2));
            bestParse = std::min(bestParse, Ms(t2, t3));
            read = list.size();
            (void)sections;
        }
        std::printf("%10d %10.2f %10.2f %10.2f %10.2f %10.2f %12zu%s\n", n, firstLoad, firstSave,
                    bestLoad, bestSave, bestParse, text.size(),
                    read == static_cast<size_t>(n) ? "" : "  (lost buttons!)");
    }
    fs::remove_all(dir);
    return 0;
}
