#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "model/Logger.h"
#include "platform/linux/StderrLogSink.h"
#include "platform/sim/CaptureLogSink.h"

namespace olvane {
namespace {

using platform::sim::ScopedLogCapture;

TEST(Logger, LogErrorJoinsMessageAndDescriptionAtErrorLevel) {
    ScopedLogCapture capture;
    Logger::settings().logError("Échec de sauvegarde des réglages",
                                platform::ComposedText("Disque plein"));
    Logger::settings().logError("Échec de sauvegarde des réglages");
    Logger::settings().logError("Échec", platform::Status::failure("D"));
    const auto lines = capture->lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "⚠️ Échec de sauvegarde des réglages: Disque plein");
    EXPECT_EQ(lines[1].text, "⚠️ Échec de sauvegarde des réglages");
    EXPECT_EQ(lines[2].text, "⚠️ Échec: D");
    for (const auto& line : lines) {
        EXPECT_EQ(line.category, "Settings");
        EXPECT_EQ(line.level, LogLevel::Error);
    }
}

TEST(Logger, ShapingOperationsAndCategoriesAndTheFallbackSubsystem) {
    ScopedLogCapture capture;
    Logger::app().logUserAction("Filtre activé");
    Logger::grayscaleFilter().logStateChange("N&B: on");
    frictionLogger().info("x");
    const auto lines = capture->lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "👆 Filtre activé");
    EXPECT_EQ(lines[0].level, LogLevel::Info);
    EXPECT_EQ(lines[1].text, "🔄 N&B: on");
    EXPECT_EQ(lines[1].level, LogLevel::Debug);
    EXPECT_EQ(lines[2].category, "FrictionEffects");
    // This test program never names its application.
    EXPECT_EQ(lines[0].subsystem, "com.olvane.OlvaneMac");
}

TEST(Logger, PersistentSinksRedactPrivateValuesTheCaptureKeepsThem) {
    ScopedLogCapture capture;
    std::FILE* stream = std::tmpfile();
    auto stderrSink = std::make_shared<platform::os::StderrLogSink>(stream);
    platform::LogRouter::instance().addSink(stderrSink);
    Logger::app().info("Règles exportées vers %s (%ld)", std::string("/home/u/rules.json"), 4);
    Logger::app().debug("ligne de debug %s", "absente de stderr");
    // Our own texts are public, the user's data inside them is not.
    Logger::app().logError("Impossible de créer le status item");
    Logger::app().logError(
        "Écriture impossible",
        platform::errnoFailure("Impossible d’écrire " + platform::quotedPath("/home/u/x"), ENOSPC));
    Logger::app().logUserAction("Site ajouté aux autorisés: " + platform::userData("exemple.fr"));
    Logger::app().info("%{private}s", platform::ComposedText("tout privé"));
    Logger("").info("sans catégorie");
    platform::LogRouter::instance().removeSink(stderrSink);

    std::rewind(stream);
    char buffer[1024] = {};
    const auto n = std::fread(buffer, 1, sizeof buffer - 1, stream);
    std::fclose(stream);
    EXPECT_EQ(std::string(buffer, n),
              "App: Règles exportées vers <private> (4)\n"
              "App: ⚠️ Impossible de créer le status item\n"
              "App: ⚠️ Écriture impossible: Impossible d’écrire « <private> » : Plus "
              "d’espace "
              "disponible sur le disque\n"
              "App: 👆 Site ajouté aux autorisés: <private>\n"
              "App: <private>\n"
              "sans catégorie\n");
    EXPECT_EQ(capture->lines().front().text, "Règles exportées vers /home/u/rules.json (4)");
}

TEST(Logger, NothingIsRoutedWhenNoSinkTakesTheLevel) {
    platform::LogRouter::instance().removeAllSinks();
    EXPECT_FALSE(platform::LogRouter::instance().isEnabled(LogLevel::Fault));
    ScopedLogCapture capture;
    EXPECT_TRUE(platform::LogRouter::instance().isEnabled(LogLevel::Debug));
}

}  // namespace
}  // namespace olvane
