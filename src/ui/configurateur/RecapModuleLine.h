#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/configurateur/RecapMonoIcon.h"

class QHBoxLayout;
class QLabel;

namespace olvane::ui {

class TabularLabel;

// One module in the recap: its symbol and name, a row of the first logos of what it concerns
// followed by how many are left out, and its count at the right.
class RecapModuleLine final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kLogoSize = 14;

    // A negative `maxVisibleLogos` shows none.
    RecapModuleLine(const std::string& icon, const QString& name, const QString& countText,
                    std::vector<RecapMonoIcon::Source> logos, int maxVisibleLogos,
                    RecapMonoIcon::Services services, QWidget* parent = nullptr);

    void setCountText(const QString& countText);
    // Logos kept where their place and source stay.
    void setLogos(std::vector<RecapMonoIcon::Source> logos);

    QString name() const;
    QString countText() const;
    const std::vector<RecapMonoIcon*>& visibleLogos() const { return icons_; }
    // "+3" when three are left out; empty when none is.
    QString overflowText() const;
    // Shown only while there are logos.
    QWidget* logoRow() const { return logoRow_; }

    // How many of `count` logos are shown at most `maxVisible`, and the text for the rest.
    static int visibleCount(std::size_t count, int maxVisible);
    static QString overflowText(std::size_t count, int maxVisible);

  private:
    int maxVisibleLogos_;
    RecapMonoIcon::Services services_;
    std::vector<RecapMonoIcon::Source> logos_;
    QLabel* name_;
    QLabel* count_;
    QWidget* logoRow_;
    QHBoxLayout* logoLayout_;
    std::vector<RecapMonoIcon*> icons_;
    TabularLabel* overflow_;
};

}  // namespace olvane::ui
