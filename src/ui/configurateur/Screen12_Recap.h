#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "platform/Handle.h"
#include "ui/configurateur/RecapMonoIcon.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class RecapModuleLine;

// What the activation below it will do, one line per module with its logos and count, read from
// the drafts as they change.
class Screen12_Recap final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMaxVisibleLogos = 8;

    Screen12_Recap(ConfigurateurViewModel& viewModel, RecapMonoIcon::Services services,
                   QWidget* parent = nullptr);

    RecapModuleLine* monochromeLine() const { return monochrome_; }
    RecapModuleLine* contrepoidsLine() const { return contrepoids_; }
    RecapModuleLine* assainisseurLine() const { return assainisseur_; }

    // None while grayscale is not wanted; else the exempt applications, then the sites.
    static std::vector<RecapMonoIcon::Source> monochromeLogos(const ConfigurateurViewModel& model);
    static QString monochromeCountText(const ConfigurateurViewModel& model);
    static std::vector<RecapMonoIcon::Source> contrepoidsLogos(const ConfigurateurViewModel& model);
    static QString contrepoidsCountText(const ConfigurateurViewModel& model);
    // The enabled rules of each platform's first entry; the platforms' own switches play no
    // part.
    static int activeRuleCount(const ConfigurateurViewModel& model);
    static std::vector<RecapMonoIcon::Source> assainisseurLogos(
        const ConfigurateurViewModel& model);
    static QString assainisseurCountText(const ConfigurateurViewModel& model);

  private:
    void refresh();

    ConfigurateurViewModel& viewModel_;
    RecapModuleLine* monochrome_;
    RecapModuleLine* contrepoids_;
    RecapModuleLine* assainisseur_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
