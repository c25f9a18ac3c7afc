#include <gtest/gtest.h>
#include <sys/stat.h>

#include <future>
#include <memory>
#include <set>
#include <utility>

#include "platform/WindowClassApplications.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/XdgApplicationCatalogue.h"

namespace olvane::ui {
namespace {

namespace fs = std::filesystem;
using test::FixtureCatalogue;
using Listed = std::vector<std::pair<std::string, std::string>>;
constexpr double kThrottle = InstalledAppsService::kCacheUpdateThrottleSeconds;

class InstalledAppsServiceTest : public ::testing::Test {
  protected:
    Listed listed() const {
        Listed result;
        for (const auto& app : service->installedApps()) {
            result.emplace_back(app.bundleID, app.name);
        }
        return result;
    }
    // Lets the background lookups end and hands their results to the loop.
    void finishLookups() {
        background.waitUntilIdle();
        loop.runPending();
    }

    test::TempHome home;
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    FixtureCatalogue catalogue{home.root()};
    platform::BackgroundQueue background;
    std::unique_ptr<InstalledAppsService> service =
        std::make_unique<InstalledAppsService>(loop, catalogue, background);
};

TEST_F(InstalledAppsServiceTest, ScanListsEachApplicationOnceByItsFrenchNameInFrenchOrder) {
    const auto& user = catalogue.user();
    const auto& system = catalogue.system();
    using F = FixtureCatalogue;
    F::write(user / "org.example.shared.desktop", F::application("Partagée (utilisateur)"));
    F::write(system / "org.example.shared.desktop", F::application("Partagée (système)"));
    F::write(user / "org.example.masked.desktop", F::application("Masque", "", "Hidden=true"));
    F::write(system / "org.example.masked.desktop", F::application("Masquée"));
    F::write(user / "org.example.link.desktop", "[Desktop Entry]\nType=Link\nName=Lien\n");
    F::write(system / "org.example.link.desktop", F::application("Cible du lien"));
    F::write(user / "broken.desktop", "pas une entrée");
    F::write(system / "broken.desktop", F::application("Réparée"));
    F::write(user / "org.example.menu.desktop", F::application("Invisible", "", "NoDisplay=true"));
    F::write(user / "kde" / "org.example.nested.desktop", F::application("Imbriquée"));
    F::write(user / "a" / "b" / "deep.desktop", F::application("Profonde"));
    F::write(user / "a" / "b" / "c" / "deeper.desktop", F::application("Trop profonde"));
    F::write(user / "Frameworks" / "skipped.desktop", F::application("Ignorée"));
    F::write(user / "com.apple.calculator.desktop", F::application("Calculator"));
    F::write(user / "org.example.fr.desktop",
             F::application("Localised", "", "Name[fr]=Localisée\nName[fr_FR]=Localisée FR"));
    F::write(user / "org.example.frshort.desktop",
             F::application("Localised", "", "Name[de]=Lokal\nName[fr]=Localisée"));
    F::write(user / "org.example.foo.desktop", F::application("Foo.app"));
    F::write(system / "org.example.alpha.desktop", F::application("alpha"));
    F::write(system / "org.example.bravo.desktop", F::application("Bravo"));

    service->loadInstalledApps();
    service->loadInstalledApps();
    EXPECT_TRUE(service->isLoading());
    EXPECT_TRUE(service->installedApps().empty());
    loop.runPending();

    EXPECT_FALSE(service->isLoading());
    EXPECT_EQ(service->cacheUpdateTrigger(), 1);
    EXPECT_EQ(listed(), (Listed{{"org.example.alpha", "alpha"},
                                {"org.example.bravo", "Bravo"},
                                {"com.apple.calculator", "Calculette"},
                                {"org.example.foo", "Foo"},
                                {"kde-org.example.nested", "Imbriquée"},
                                {"org.example.frshort", "Localisée"},
                                {"org.example.fr", "Localisée FR"},
                                {"org.example.shared", "Partagée (utilisateur)"},
                                {"a-b-deep", "Profonde"},
                                {"broken", "Réparée"}}));
    EXPECT_EQ(log->count("Chargement des apps installées..."), 1u);
    EXPECT_TRUE(log->contains("GrayscaleFilter", platform::LogLevel::Info, "Apps chargées: 10"));

    // The lookup by ID follows the same rules as the list.
    EXPECT_EQ(service->appInfo("org.example.menu").name, "Invisible");
    EXPECT_EQ(service->appInfo("kde-org.example.nested").name, "Imbriquée");
    EXPECT_EQ(service->appInfo("org.example.shared").name, "Partagée (utilisateur)");
    for (const char* absent : {"org.example.masked", "org.example.link", "a-b-c-deeper",
                               "Frameworks-skipped", "../user/applications/broken", ""}) {
        EXPECT_FALSE(service->appInfo(absent).name) << absent;
    }

    // A later call scans again from scratch.
    F::write(user / "org.example.late.desktop", F::application("Zèbre"));
    service->loadInstalledApps();
    loop.runPending();
    EXPECT_EQ(service->installedApps().back().name, "Zèbre");
    EXPECT_EQ(log->count("Chargement des apps installées..."), 2u);
}

TEST_F(InstalledAppsServiceTest, AnUnreadableFolderIsLoggedAndTheScanGoesOn) {
    fs::remove_all(catalogue.user());
    FixtureCatalogue::write(catalogue.user(), "un fichier à la place du dossier");
    FixtureCatalogue::write(catalogue.system() / "org.example.app.desktop",
                            FixtureCatalogue::application("Application"));
    service->loadInstalledApps();
    loop.runPending();
    EXPECT_TRUE(log->contains(
        "GrayscaleFilter", platform::LogLevel::Error,
        "⚠️ Erreur scan " + catalogue.user().string() + ": N’est pas un dossier"));
    EXPECT_EQ(listed(), (Listed{{"org.example.app", "Application"}}));
}

TEST_F(InstalledAppsServiceTest, RowsAskOnceAndABurstOfLookupsRaisesOneChange) {
    const auto red = FixtureCatalogue::writeIcon(home.root() / "red.png", Qt::red);
    catalogue.addThemeIcon("green", Qt::green);
    using F = FixtureCatalogue;
    F::write(catalogue.user() / "org.example.file.desktop", F::application("Fichier", red));
    F::write(catalogue.user() / "org.example.theme.desktop", F::application("Thème", "green"));
    F::write(catalogue.user() / "org.example.bare.desktop", F::application("Nue"));
    F::write(catalogue.user() / "org.example.lost.desktop", F::application("Perdue", "absent"));

    const auto shown = service->displayedApp("org.example.file");
    EXPECT_EQ(shown.name, "org.example.file");
    EXPECT_EQ(shown.icon, service->placeholderIcon());
    EXPECT_TRUE(service->isLookingUp("org.example.file"));
    (void)service->displayedApp("org.example.file");
    for (const char* id :
         {"org.example.theme", "org.example.bare", "org.example.lost", "org.example.uninstalled"}) {
        (void)service->displayedApp(id);
    }
    finishLookups();
    EXPECT_EQ(catalogue.finds, 5);
    EXPECT_FALSE(service->isLookingUp("org.example.file"));

    EXPECT_EQ(service->cachedName("org.example.file"), "Fichier");
    const auto colourAt = [&](const char* id) {
        const QImage icon = service->cachedIcon(id).value_or(QImage());
        EXPECT_EQ(icon.deviceIndependentSize(), QSizeF(32, 32)) << id;
        return icon.pixelColor(icon.width() / 2, icon.height() / 2);
    };
    EXPECT_EQ(colourAt("org.example.file"), QColor(Qt::red));
    EXPECT_EQ(colourAt("org.example.theme"), QColor(Qt::green));
    EXPECT_EQ(service->cachedIcon("org.example.bare"), service->placeholderIcon());
    EXPECT_EQ(service->cachedIcon("org.example.lost"), service->placeholderIcon());
    // An uninstalled application keeps its ID and the placeholder, and nothing is cached.
    EXPECT_FALSE(service->cachedName("org.example.uninstalled"));
    EXPECT_FALSE(service->appInfo("org.example.uninstalled").icon);
    EXPECT_EQ(service->displayedApp("org.example.theme").name, "Thème");

    loop.advanceSeconds(0.29);
    EXPECT_EQ(service->cacheUpdateTrigger(), 0);
    loop.advanceSeconds(0.01);
    EXPECT_EQ(service->cacheUpdateTrigger(), 1);
    loop.advanceSeconds(1);
    EXPECT_EQ(service->cacheUpdateTrigger(), 1);
}

// A FIFO or a file on a stalled mount must never hold the window: icon files are read on the
// worker, the placeholder standing in until they arrive.
TEST_F(InstalledAppsServiceTest, IconFilesArriveFromTheWorkerAndAFifoHoldsNothing) {
    using F = FixtureCatalogue;
    const auto red = F::writeIcon(home.root() / "red.png", Qt::red);
    const auto fifo = home.root() / "fifo.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((catalogue.user() / "org.example.pipe.desktop").c_str(), 0600), 0);
    F::write(catalogue.user() / "org.example.file.desktop", F::application("Fichier", red));
    F::write(catalogue.user() / "org.example.fifo.desktop", F::application("Tube", fifo));
    const QImage& placeholder = service->placeholderIcon();
    // The worker waits until the test has seen what the window shows meanwhile.
    std::promise<void> gate;
    background.enqueue([opened = gate.get_future().share()] { opened.wait(); });

    const auto info = service->appInfo("org.example.file");
    EXPECT_EQ(info.name, "Fichier");
    ASSERT_EQ(info.icon, placeholder);
    EXPECT_EQ(service->appInfo("org.example.fifo").icon, placeholder);
    QColor arrived;
    auto arrival = service->whenIconArrives("org.example.file", [&](const QImage& icon) {
        arrived = icon.pixelColor(icon.width() / 2, icon.height() / 2);
    });
    service->loadInstalledApps();
    loop.runPending();
    ASSERT_EQ(service->installedApps().size(), 2u);
    EXPECT_EQ(service->installedApps()[0].icon, placeholder);

    gate.set_value();
    finishLookups();
    loop.advanceSeconds(kThrottle);
    EXPECT_EQ(arrived, QColor(Qt::red));
    const auto& [file, tube] = std::pair(service->installedApps()[0], service->installedApps()[1]);
    EXPECT_EQ(file.icon.pixelColor(file.icon.width() / 2, file.icon.height() / 2), QColor(Qt::red));
    EXPECT_EQ(tube.icon, placeholder);
    EXPECT_EQ(service->appInfo("org.example.fifo").icon, placeholder);
}

TEST_F(InstalledAppsServiceTest, ALookupThatEndsAfterTheServiceIsGoneChangesNothing) {
    FixtureCatalogue::write(catalogue.user() / "org.example.app.desktop",
                            FixtureCatalogue::application("Application"));
    int changes = 0;
    auto observation = service->observe([&] { ++changes; });
    service->requestAppInfo("org.example.app");
    service.reset();
    finishLookups();
    loop.advanceSeconds(1);
    EXPECT_EQ(changes, 0);
}

TEST_F(InstalledAppsServiceTest, TheDesktopCatalogueFindsThemeIconsAndPixmapsButNoFifo) {
    const fs::path share = home.root() / "share";
    const platform::Paths paths([&](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return home.root().string();
        }
        return name == "XDG_DATA_DIRS" ? std::optional(share.string()) : std::nullopt;
    });
    const fs::path theme = paths.dataHome() / "icons" / "hicolor";
    FixtureCatalogue::write(theme / "index.theme",
                            "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                            "[48x48/apps]\nSize=48\nType=Threshold\n");
    FixtureCatalogue::writeIcon(theme / "48x48" / "apps" / "org.example.themed.png", Qt::green);
    FixtureCatalogue::writeIcon(share / "pixmaps" / "org.example.pixmap.png", Qt::blue);
    // Qt would open it on the main thread and wait there for a writer for good.
    ASSERT_EQ(::mkfifo((theme / "48x48" / "apps" / "org.example.pipe.png").c_str(), 0600), 0);
    using F = FixtureCatalogue;
    F::write(paths.dataHome() / "applications" / "org.example.themed.desktop",
             F::application("Thème", "org.example.themed"));
    F::write(share / "applications" / "org.example.pixmap.desktop",
             F::application("Image", "org.example.pixmap"));
    F::write(share / "applications" / "org.example.pipe.desktop",
             F::application("Tuyau", "org.example.pipe-extra"));

    const XdgApplicationCatalogue desktop(paths);
    InstalledAppsService apps(loop, desktop, background);
    apps.loadInstalledApps();
    loop.runPending();
    finishLookups();
    loop.advanceSeconds(kThrottle);
    ASSERT_EQ(apps.installedApps().size(), 3u);
    for (const auto& [app, colour] : {std::pair(apps.installedApps()[0], QColor(Qt::blue)),
                                      std::pair(apps.installedApps()[1], QColor(Qt::green))}) {
        EXPECT_EQ(app.icon.pixelColor(app.icon.width() / 2, app.icon.height() / 2), colour)
            << app.name;
    }
    EXPECT_EQ(apps.installedApps()[2].icon, apps.placeholderIcon());
}

// A running window must carry the ID the picker stored for its entry, whatever its X11 class.
TEST(InstalledAppsWindowClassTest, AWindowTakesTheIdThePickerOffers) {
    const test::TempHome home;
    const fs::path first = home.root() / "first", second = home.root() / "second";
    const platform::Paths paths([&](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return home.root().string();
        }
        return name == "XDG_DATA_DIRS" ? std::optional(first.string() + ":" + second.string())
                                       : std::nullopt;
    });
    using F = FixtureCatalogue;
    F::write(paths.dataHome() / "applications" / "vendor" / "tool.desktop",
             F::application("Outil", {}, "StartupWMClass=ToolWindow\n"));
    F::write(first / "applications" / "obconf.desktop", F::application("Openbox"));
    F::write(second / "applications" / "obconf.desktop",
             F::application("Masqué", {}, "StartupWMClass=Shadowed\n"));
    F::write(second / "applications" / "org.example.Viewer.desktop", F::application("Visionneuse"));

    std::set<std::string> offered;
    for (const auto& entry : XdgApplicationCatalogue(paths).listApplications()) {
        offered.insert(entry.id);
    }
    platform::WindowClassApplications windows(paths.applicationEntryFolders());
    const struct {
        const char* windowClass;
        const char* instance;
        std::optional<std::string> id;
    } cases[] = {
        {"ToolWindow", "tool", "vendor-tool"},
        {"Other", "ToolWindow", "vendor-tool"},
        {"Obconf", "obconf-main", "obconf"},
        {"Viewer", "org.example.Viewer", "org.example.Viewer"},
        {"Shadowed", "shadowed", std::nullopt},
        {"Unknown", "unknown", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto id = windows.applicationId(c.windowClass, c.instance);
        EXPECT_EQ(id, c.id) << c.windowClass;
        if (id) {
            EXPECT_TRUE(offered.contains(*id)) << *id;
        }
    }
    // An application installed after its class was first met is found when met again.
    F::write(first / "applications" / "unknown.desktop", F::application("Inconnu"));
    EXPECT_EQ(windows.applicationId("Unknown", "unknown"), "unknown");
}

}  // namespace
}  // namespace olvane::ui
