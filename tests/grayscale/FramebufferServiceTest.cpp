#include <gtest/gtest.h>

#include "grayscale/FramebufferCrashGuard.h"
#include "grayscale/FramebufferService.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/ScriptedColorRemapDevice.h"

namespace olvane {
namespace {

using platform::ExternalProperty;
using platform::LogLevel;
using platform::RemapLoadResult;
using Write = test::ScriptedColorRemapDevice::Write;

constexpr const char* kCategory = "GrayscaleFilter";

class FramebufferServiceTest : public ::testing::Test {
  protected:
    void TearDown() override { signalGrayscaleActive.store(false); }

    bool logged(LogLevel level, const std::string& text) {
        return capture_->contains(kCategory, level, text);
    }

    platform::sim::ScopedLogCapture capture_;
    test::ScriptedColorRemapDevice device_;
};

TEST_F(FramebufferServiceTest, MissingDriverLeavesEveryOperationInert) {
    device_.loadResult = RemapLoadResult::frameworkMissing("libcolorremap.so: introuvable");
    FramebufferService service(device_);

    EXPECT_FALSE(service.probe());
    EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : démarrage..."));
    EXPECT_TRUE(logged(LogLevel::Info,
                       "Probe DCP : pilote indisponible "
                       "(libcolorremap.so: introuvable)"));
    EXPECT_EQ(device_.unloadCount, 0);

    capture_->clear();
    EXPECT_FALSE(service.enableGrayscale());
    EXPECT_FALSE(service.disableGrayscale());
    service.forceDisable();
    EXPECT_TRUE(device_.writes.empty());
    EXPECT_TRUE(capture_->texts(kCategory).empty());
}

TEST_F(FramebufferServiceTest, MissingSymbolsUnloadTheDriver) {
    device_.loadResult = RemapLoadResult::symbolsMissing();
    FramebufferService service(device_);

    EXPECT_FALSE(service.probe());
    EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : symboles Open/Set introuvables"));
    EXPECT_EQ(device_.unloadCount, 1);
    service.forceDisable();
    EXPECT_TRUE(device_.writes.empty());
}

TEST_F(FramebufferServiceTest, OnlyExternalDisplaysFailTheProbeButForceDisableStillResetsThem) {
    device_.services = {{{"hdmi", ExternalProperty::True}, {"dp", ExternalProperty::True}}};
    FramebufferService service(device_);

    EXPECT_FALSE(service.probe());
    EXPECT_FALSE(service.isAvailable());
    EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : aucun écran intégré trouvé"));
    EXPECT_FALSE(service.enableGrayscale());

    signalGrayscaleActive.store(true);
    service.forceDisable();
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"hdmi", 0}, {"dp", 0}}));
    EXPECT_TRUE(logged(LogLevel::Info, "DCP forceDisable : 2 écran(s) restauré(s)"));
    EXPECT_FALSE(signalGrayscaleActive.load());
    EXPECT_EQ(device_.openConnections(), 0u) << "forceDisable keeps none of its connections";

    device_.services.reset();  // the lookup itself fails
    EXPECT_FALSE(service.probe());
    EXPECT_EQ(capture_->count("Probe DCP : aucun écran intégré trouvé"), 2u);
}

TEST_F(FramebufferServiceTest, AbsentOrNonBooleanExternalCountsAsBuiltIn) {
    for (const auto property : {ExternalProperty::Absent, ExternalProperty::NotBoolean}) {
        test::ScriptedColorRemapDevice device;
        device.services = {{{"hdmi", ExternalProperty::True}, {"panel", property}}};
        FramebufferService service(device);
        EXPECT_EQ(service.findBuiltInDisplay(), "panel");
        ASSERT_TRUE(service.probe());
        ASSERT_TRUE(service.enableGrayscale());
        EXPECT_EQ(device.writes, (std::vector<Write>{{"panel", 2}}));
    }
}

TEST_F(FramebufferServiceTest, ProbeReportsTheModeOrThatItCannotReadIt) {
    device_.modes["builtin"] = 2;
    {
        FramebufferService service(device_);
        ASSERT_TRUE(service.probe());
        EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : succès — mode actuel = 2"));
        EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : API disponible et fonctionnelle"));
        EXPECT_EQ(service.readMode(), 2u);
    }
    for (const bool getPresent : {false, true}) {
        capture_->clear();
        test::ScriptedColorRemapDevice device;
        device.loadResult = RemapLoadResult::loaded(getPresent);
        device.getStatus = getPresent ? -9 : 0;  // present but failing, or absent
        FramebufferService service(device);
        ASSERT_TRUE(service.probe());
        EXPECT_TRUE(
            logged(LogLevel::Info, "Probe DCP : succès (Get indisponible, Set uniquement)"));
        EXPECT_EQ(service.readMode(), std::nullopt);
    }
}

TEST_F(FramebufferServiceTest, FailedOpenReleasesTheDisplayAndLeavesTheBackEndOff) {
    device_.openStatus["builtin"] = -7;
    FramebufferService service(device_);

    EXPECT_FALSE(service.probe());
    EXPECT_TRUE(logged(LogLevel::Info, "Probe DCP : échec ouverture connexion (code: -7)"));
    EXPECT_FALSE(service.isAvailable());
    EXPECT_FALSE(service.enableGrayscale());
    EXPECT_EQ(signalConnection.load(), 0u);
}

TEST_F(FramebufferServiceTest, SecondProbeOnlyLogs) {
    FramebufferService service(device_);
    ASSERT_TRUE(service.probe());
    capture_->clear();

    EXPECT_TRUE(service.probe());
    EXPECT_EQ(capture_->texts(kCategory), std::vector<std::string>{"Probe DCP : déjà initialisé"});
    EXPECT_TRUE(logged(LogLevel::Debug, "Probe DCP : déjà initialisé"));
    EXPECT_EQ(device_.loadCount, 1);
}

TEST_F(FramebufferServiceTest, ModeWritesDriveTheCrashGuardAndRefreshTheDisplay) {
    FramebufferService service(device_);
    ASSERT_TRUE(service.probe());
    EXPECT_NE(signalConnection.load(), 0u);
    EXPECT_EQ(signalSetModeFn.load(), device_.signalSafeSetMode());
    EXPECT_FALSE(signalGrayscaleActive.load());

    ASSERT_TRUE(service.enableGrayscale());
    EXPECT_TRUE(signalGrayscaleActive.load());
    EXPECT_EQ(device_.modes["builtin"], 2u);
    EXPECT_EQ(device_.transferReads, 1);
    EXPECT_EQ(device_.transferWrites, 1);
    EXPECT_TRUE(logged(LogLevel::Debug, "🔄 Filtre N&B activé via DCP"));

    // A failed write changes neither the flag nor the display, and refreshes nothing.
    device_.setStatus = -536870212;
    EXPECT_FALSE(service.disableGrayscale());
    EXPECT_TRUE(logged(LogLevel::Error, "⚠️ DCP disableGrayscale échec (code: -536870212)"));
    EXPECT_TRUE(signalGrayscaleActive.load());
    EXPECT_EQ(device_.transferReads, 1);

    device_.setStatus = 0;
    device_.transferReadable = false;
    ASSERT_TRUE(service.disableGrayscale());
    EXPECT_FALSE(signalGrayscaleActive.load());
    EXPECT_TRUE(logged(LogLevel::Debug, "🔄 Filtre N&B désactivé via DCP"));
    EXPECT_EQ(device_.transferReads, 2);
    EXPECT_EQ(device_.transferWrites, 1) << "an unreadable table is not written back";

    device_.setStatus = -5;
    EXPECT_FALSE(service.enableGrayscale());
    EXPECT_TRUE(logged(LogLevel::Error, "⚠️ DCP enableGrayscale échec (code: -5)"));
    EXPECT_FALSE(signalGrayscaleActive.load());
}

TEST_F(FramebufferServiceTest, ForceDisableSkipsServicesThatCannotBeOpened) {
    device_.services = {{{"builtin", ExternalProperty::False}, {"hdmi", ExternalProperty::True}}};
    FramebufferService service(device_);
    ASSERT_TRUE(service.probe());
    ASSERT_TRUE(service.enableGrayscale());
    device_.openStatus["hdmi"] = -3;
    device_.writes.clear();

    service.forceDisable();
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"builtin", 0}}));
    EXPECT_TRUE(logged(LogLevel::Info, "DCP forceDisable : 1 écran(s) restauré(s)"));
    EXPECT_FALSE(signalGrayscaleActive.load());

    // Nothing restored: no count line; a failed lookup leaves the flag alone.
    capture_->clear();
    device_.openStatus["builtin"] = -3;
    service.forceDisable();
    EXPECT_FALSE(capture_->contains("DCP forceDisable"));
    signalGrayscaleActive.store(true);
    device_.services.reset();
    service.forceDisable();
    EXPECT_TRUE(signalGrayscaleActive.load());
}

// Without grey of this run on screen (a start after a crash, a quit with the filter suspended)
// any mode but our grayscale may be the user's own setting, and stays; a device that cannot read
// its mode back gets mode 0 whatever it holds.
TEST_F(FramebufferServiceTest, ForceDisableWithoutOurGreyTakesBackOnlyOurOwnGrayscale) {
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "mode readable" : "mode unreadable");
        test::ScriptedColorRemapDevice device;
        device.loadResult = RemapLoadResult::loaded(readable);
        device.services = {
            {{"builtin", ExternalProperty::False}, {"hdmi", ExternalProperty::True}}};
        device.modes = {{"builtin", 2}, {"hdmi", 1}};
        FramebufferService service(device);
        ASSERT_TRUE(service.probe());
        service.forceDisable();
        EXPECT_EQ(device.modes["hdmi"], readable ? 1u : 0u);
        EXPECT_EQ(device.modes["builtin"], 0u);
    }
}

TEST_F(FramebufferServiceTest, DestroyedServiceDisarmsTheCrashGuard) {
    {
        FramebufferService service(device_);
        ASSERT_TRUE(service.probe());
        ASSERT_TRUE(service.enableGrayscale());
    }
    EXPECT_FALSE(signalGrayscaleActive.load());
    EXPECT_EQ(signalConnection.load(), 0u);
    EXPECT_EQ(device_.openConnections(), 0u);
}

}  // namespace
}  // namespace olvane
