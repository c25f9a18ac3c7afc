#include "support/KilledSaves.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <random>
#include <string>
#include <thread>

#include "model/SettingsManager.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/linux/SystemClock.h"

namespace olvane::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSitesPerSave = 20;

std::string siteOf(long long save, int index) {
    return "site-" + std::to_string(save) + "-" + std::to_string(index) + ".fr";
}

// The settings of save number `save`: every site and the onboarding version carry the number.
void number(UserSettings& settings, long long save) {
    settings.onboardingVersion = save;
    settings.grayscaleAllowedSites.clear();
    for (int i = 0; i < kSitesPerSave; ++i) {
        settings.grayscaleAllowedSites.push_back(siteOf(save, i));
    }
}

// The number of the whole save the file holds (0 before any), or nullopt with `problem` set.
std::optional<long long> storedSave(const fs::path& file, std::string& problem) {
    const platform::os::SystemClock clock;
    platform::os::FileKeyValueStore store(file, clock);
    if (!store.openReport().setAside.empty()) {
        problem = "fichier illisible: " + store.openReport().problem.text();
        std::error_code ec;
        fs::remove(store.openReport().setAside, ec);
        return std::nullopt;
    }
    SettingsManager manager(store, clock);
    using Outcome = SettingsManager::LoadOutcome;
    if (manager.loadOutcome() == Outcome::nothingStored) {
        return 0;
    }
    if (manager.loadOutcome() != Outcome::decoded) {
        problem = "réglages illisibles, repris de la sauvegarde ou par défaut";
        return std::nullopt;
    }
    const auto& settings = manager.settings();
    UserSettings expected = settings;
    number(expected, settings.onboardingVersion);
    if (settings != expected) {
        problem = "réglages mêlant deux enregistrements";
        return std::nullopt;
    }
    return settings.onboardingVersion;
}

// Says on `progress` when the settings are loaded and the saving starts, then after each save.
[[noreturn]] void saveForever(const fs::path& file, int progress) {
    const platform::os::SystemClock clock;
    platform::os::FileKeyValueStore store(file, clock);
    SettingsManager manager(store, clock);
    const long long first = manager.settings().onboardingVersion + 1;
    [[maybe_unused]] auto said = ::write(progress, "r", 1);
    for (long long save = first;; ++save) {
        number(manager.settings(), save);
        manager.saveSettings();
        said = ::write(progress, "s", 1);
    }
}

int leftoversBeside(const fs::path& file) {
    const std::string prefix = "." + file.filename().string() + ".";
    int count = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), ec)) {
        count += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return count;
}

}  // namespace

ScratchFolder::~ScratchFolder() {
    if (owned_) {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
}

ScratchFolder memoryFolderOr(const fs::path& fallback) {
    std::string pattern = "/dev/shm/olvane-XXXXXX";
    if (::mkdtemp(pattern.data())) {
        return ScratchFolder(pattern, true);
    }
    return ScratchFolder(fallback, false);
}

KilledSavesReport killDuringSaves(const fs::path& file, int kills,
                                  std::chrono::microseconds maxDelay, unsigned seed) {
    KilledSavesReport report;
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, maxDelay.count());
    std::uniform_int_distribution<int> wholeSaves(0, 2);
    for (; report.kills < kills; ++report.kills) {
        int progress[2];
        if (::pipe2(progress, O_CLOEXEC) != 0) {
            report.firstProblem = "pipe impossible";
            break;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            saveForever(file, progress[1]);
        }
        ::close(progress[1]);
        if (child < 0) {
            ::close(progress[0]);
            report.firstProblem = "fork impossible";
            break;
        }
        // The delay runs from the start of the saving, or from the end of a save or two: a
        // loaded machine may give the child too little time for any within the delay alone.
        char said = 0;
        for (int awaited = 1 + wholeSaves(random); awaited > 0; --awaited) {
            if (::read(progress[0], &said, 1) != 1) {
                break;
            }
        }
        ::close(progress[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        std::string problem;
        const auto save = storedSave(file, problem);
        if (save && *save < report.lastSave) {
            problem = "réglages revenus de " + std::to_string(report.lastSave) + " à " +
                      std::to_string(*save);
        }
        if (!problem.empty()) {
            ++report.corrupt;
            if (report.firstProblem.empty()) {
                report.firstProblem = problem;
            }
            continue;
        }
        report.lastSave = *save;
    }
    report.leftovers = leftoversBeside(file);
    return report;
}

}  // namespace olvane::test
