// The settings file under 2,000 writers killed while they save: how many kills left it
// corrupt (target 0), and how many temporary files were left behind. Runs in memory unless
// given a folder (on a disk, each save waits for its flushes and the run takes minutes).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>

#include "support/KilledSaves.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const int kills = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    std::optional<olvane::test::ScratchFolder> memory;
    fs::path folder;
    if (argc > 2) {
        folder = argv[2];
    } else {
        memory.emplace(olvane::test::memoryFolderOr(fs::temp_directory_path()));
        folder = memory->path();
    }
    const fs::path file = folder / "defaults.json";
    const auto start = std::chrono::steady_clock::now();
    const auto report = olvane::test::killDuringSaves(file, kills, std::chrono::microseconds(2000),
                                                      std::random_device()());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("réglages tués pendant l’enregistrement, dans %s\n", folder.c_str());
    std::printf("  arrêts forcés                 %8d\n", report.kills);
    std::printf("  enregistrements atteints      %8lld\n", report.lastSave);
    std::printf("  fichiers corrompus            %8d   (objectif 0 : %s)\n", report.corrupt,
                report.corrupt == 0 ? "tenu" : "MANQUÉ");
    std::printf("  fichiers temporaires laissés  %8d\n", report.leftovers);
    std::printf("  durée                         %8.1f s\n", seconds);
    if (!report.firstProblem.empty()) {
        std::printf("  premier problème : %s\n", report.firstProblem.c_str());
    }
    return 0;
}
