#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "browser/WebFeatureUsage.h"
#include "grayscale/GrayscaleFilterService.h"
#include "platform/BackgroundQueue.h"
#include "ui/SimulatedProgram.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"

namespace olvane::test {

class RecordingWebFeatures final : public WebFeatureUsage {
  public:
    void featureUsed(WebFeatureCategory category) override { used.push_back(category); }
    std::vector<WebFeatureCategory> used;
};

// The program's services over simulated seams, a favicon service over a fake fetcher and the
// applications of a fixture catalogue: what the Monochrome page is given.
class MonochromeFixture : public ::testing::Test {
  protected:
    static constexpr const char* kDisplay = platform::sim::SimulatedDisplayFile::kDefaultDisplayId;

    MonochromeFixture() { program.services.probeFramebuffer(); }

    ui::GrayscaleFilterViewModel::Collaborators collaborators() {
        return {program.appState,
                program.services.settings(),
                [this]() -> GrayscaleFilterService& { return program.services.grayscale(); },
                favicons,
                apps,
                webFeatures};
    }
    std::unique_ptr<ui::GrayscaleFilterViewModel> makeModel() {
        return std::make_unique<ui::GrayscaleFilterViewModel>(collaborators());
    }

    // The simulated display's colour-remap mode: 0 colour, 2 grey.
    std::optional<std::uint32_t> displayMode() const {
        const auto file = platform::sim::SimulatedDisplayFile::read(
            platform::sim::SimulatedDisplayFile::defaultPath(program.paths));
        return file ? file->mode(kDisplay) : std::nullopt;
    }
    // An application of the catalogue, with an icon of one colour.
    void install(const std::string& id, const std::string& name, const QColor& colour) {
        catalogue.addThemeIcon(id, colour);
        FixtureCatalogue::write(catalogue.user() / (id + ".desktop"),
                                FixtureCatalogue::application(name, id));
    }
    // Lets the background application lookups end and hands their results to the loop.
    void finishLookups() {
        background.waitUntilIdle();
        program.loop.runPending();
    }

    SimulatedProgram program;
    FakeFaviconFetcher fetcher;
    ui::FaviconService favicons{program.loop, program.loop.clock(), fetcher,
                                program.home.root() / "favicons",
                                QUrl(QStringLiteral("https://favicons.test/s2"))};
    FixtureCatalogue catalogue{program.home.root() / "catalogue"};
    platform::BackgroundQueue background;
    ui::InstalledAppsService apps{program.loop, catalogue, background};
    RecordingWebFeatures webFeatures;
};

}  // namespace olvane::test
