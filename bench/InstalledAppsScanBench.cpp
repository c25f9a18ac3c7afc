// Figures for the full scan of the installed applications, which holds the main thread: over a
// fixture of 500 desktop entries whose icons come from an icon theme, and over this machine's
// own entries. The first scan of a process meets cold caches; the later ones are the median of
// several. Target: the fixture's scan holds the main thread under 100 ms.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/BackgroundQueue.h"
#include "platform/Paths.h"
#include "platform/sim/ManualRunLoop.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/XdgApplicationCatalogue.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace olvane;

constexpr int kFixtureEntries = 500;
constexpr int kRepeats = 9;

// HOME with an empty user folder and one system folder of entries and a "hicolor" theme.
fs::path makeFixture() {
    const fs::path root =
        fs::temp_directory_path() / ("olvane-scan-bench-" + std::to_string(::getpid()));
    const fs::path apps = root / "share" / "applications";
    const fs::path theme = root / "share" / "icons" / "hicolor";
    fs::create_directories(apps / "vendor");
    fs::create_directories(theme / "48x48" / "apps");
    std::ofstream(theme / "index.theme")
        << "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
           "[48x48/apps]\nSize=48\nContext=Applications\nType=Threshold\n";
    for (int i = 0; i < kFixtureEntries; ++i) {
        const std::string id = "org.bench.Application" + std::to_string(i);
        QImage icon(48, 48, QImage::Format_ARGB32);
        icon.fill(QColor::fromHsv(i % 360, 200, 200));
        icon.save(QString::fromStdString((theme / "48x48" / "apps" / (id + ".png")).string()));
        // A tenth in a vendor subfolder, as distributions do.
        const fs::path file =
            i % 10 == 0 ? apps / "vendor" / (id + ".desktop") : apps / (id + ".desktop");
        std::ofstream(file) << "[Desktop Entry]\nType=Application\nExec=app" << i
                            << "\nName=Application " << i << "\nName[fr]=Application n° " << i
                            << "\nIcon=" << id << "\nCategories=Utility;\n";
    }
    return root;
}

struct Figures {
    double firstMs = 0;
    double medianMs = 0;
    // Of the median scan, the walk and the reading of the entries alone.
    double readingMs = 0;
    std::size_t applications = 0;
    std::size_t withIcon = 0;
};

Figures measure(const platform::Paths& paths) {
    platform::sim::ManualRunLoop loop;
    platform::BackgroundQueue background;
    ui::XdgApplicationCatalogue catalogue(paths);
    std::vector<double> times;
    Figures figures;
    for (int i = 0; i <= kRepeats; ++i) {
        ui::InstalledAppsService service(loop, catalogue, background);
        const auto start = Clock::now();
        service.loadInstalledApps();
        loop.runPending();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        figures.applications = service.installedApps().size();
        figures.withIcon = static_cast<std::size_t>(std::count_if(
            service.installedApps().begin(), service.installedApps().end(),
            [&](const ui::InstalledApp& a) { return a.icon != service.placeholderIcon(); }));
        if (i == 0) {
            figures.firstMs = ms;
        } else {
            times.push_back(ms);
        }
    }
    std::sort(times.begin(), times.end());
    figures.medianMs = times[times.size() / 2];
    std::vector<double> readings;
    for (int i = 0; i < kRepeats; ++i) {
        const auto start = Clock::now();
        const auto entries = catalogue.listApplications();
        readings.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(readings.begin(), readings.end());
    figures.readingMs = readings[readings.size() / 2];
    return figures;
}

void print(const char* what, const Figures& figures) {
    std::printf(
        "%-28s %4zu applications (%zu with an icon)   first scan %6.1f ms   "
        "then (median) %6.1f ms, of which reading the entries %5.1f ms\n",
        what, figures.applications, figures.withIcon, figures.firstMs, figures.medianMs,
        figures.readingMs);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    const fs::path fixture = makeFixture();
    const platform::Paths fixturePaths([&](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return fixture.string();
        }
        if (name == "XDG_DATA_DIRS") {
            return (fixture / "share").string();
        }
        return std::nullopt;
    });
    print("Fixture (500, theme icons)", measure(fixturePaths));
    print("This machine", measure(platform::Paths::fromProcessEnvironment()));

    std::error_code ec;
    fs::remove_all(fixture, ec);
    return 0;
}
