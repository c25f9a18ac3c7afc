#pragma once

#include <QColor>
#include <QImage>
#include <atomic>
#include <filesystem>
#include <string>

#include "platform/FileIO.h"
#include "ui/foundation/ApplicationCatalogue.h"
#include "ui/foundation/DesktopEntryFolders.h"

namespace olvane::test {

// A catalogue over a fixture tree: the desktop entries of `user` then `system`, and a theme whose
// icons are the PNG files of `icons`, so that no test depends on this machine's icon theme.
class FixtureCatalogue final : public ui::ApplicationCatalogue {
  public:
    explicit FixtureCatalogue(const std::filesystem::path& root)
        : user_(root / "user" / "applications"),
          system_(root / "system" / "applications"),
          icons_(root / "icons"),
          folders_({user_, system_}) {
        std::filesystem::create_directories(user_);
        std::filesystem::create_directories(system_);
        std::filesystem::create_directories(icons_);
    }

    const std::filesystem::path& user() const { return user_; }
    const std::filesystem::path& system() const { return system_; }

    // An application entry; `extra` lines are added as they are.
    static std::string application(const std::string& name, const std::string& icon = {},
                                   const std::string& extra = {}) {
        std::string text = "[Desktop Entry]\nType=Application\nExec=run\nName=" + name + "\n";
        if (!icon.empty()) {
            text += "Icon=" + icon + "\n";
        }
        return text + extra;
    }
    static void write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        (void)platform::writeFileAtomically(file, text);
    }
    // A theme icon of one colour; returns its file.
    std::filesystem::path addThemeIcon(const std::string& name, const QColor& color) const {
        return writeIcon(icons_ / (name + ".png"), color);
    }
    static std::filesystem::path writeIcon(const std::filesystem::path& file, const QColor& color) {
        QImage image(48, 48, QImage::Format_ARGB32);
        image.fill(color);
        std::filesystem::create_directories(file.parent_path());
        image.save(QString::fromStdString(file.string()), "PNG");
        return file;
    }

    std::vector<ui::ApplicationEntry> listApplications() const override { return folders_.list(); }
    std::optional<ui::ApplicationEntry> findApplication(std::string_view id) const override {
        ++finds;
        return folders_.find(id);
    }
    bool themeIconIsReadable(const std::string&) const override { return true; }
    QImage themeIcon(const std::string& name, int pixelSize) const override {
        const QImage image(QString::fromStdString((icons_ / (name + ".png")).string()));
        return image.isNull() ? image : image.scaled(pixelSize, pixelSize);
    }

    // How many lookups by ID were made.
    mutable std::atomic<int> finds{0};

  private:
    std::filesystem::path user_;
    std::filesystem::path system_;
    std::filesystem::path icons_;
    ui::DesktopEntryFolders folders_;
};

}  // namespace olvane::test
