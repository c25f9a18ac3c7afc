#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "platform/Observable.h"
#include "ui/foundation/ExceptionTab.h"

namespace olvane::ui {

class HoverButton;

// The switch above a list between its applications and its websites: two halves in a rounded,
// outlined bar, each titled with how many entries its list holds. The selected half is black
// with a white title; a click selects the other one, the colours crossing over in 0.15 s.
class ExceptionTabBar final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 150;

    ExceptionTabBar(platform::Observable<ExceptionTab>& selectedTab, int appCount, int siteCount,
                    QWidget* parent = nullptr);

    void setCounts(int appCount, int siteCount);
    // "Applications (3)", "Sites web (12)".
    QString title(ExceptionTab tab) const;
    HoverButton* tab(ExceptionTab tab) const;
    bool isSelected(ExceptionTab tab) const;

  private:
    class TabButton;

    void showSelection();

    platform::Observable<ExceptionTab>& selectedTab_;
    std::array<TabButton*, 2> tabs_;
    std::array<int, 2> counts_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
