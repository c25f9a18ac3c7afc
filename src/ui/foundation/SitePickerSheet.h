#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/Observable.h"

class QAbstractButton;

namespace olvane::ui {

class SheetHeader;
class ThemedTextField;

// The small sheet in which the user types a website to add. It only trims and lower-cases the
// text before handing it over; the caller normalises it.
class SitePickerSheet final : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kSize{400, 200};
    static constexpr const char* kHint =
        "Ajoute le symbole \"=\" devant l'adresse pour exclure les sous-pages.\n"
        "ex : =instagram.com";

    SitePickerSheet(platform::Observable<bool>& isPresented,
                    std::function<void(const std::string&)> onAdd, QWidget* parent = nullptr);

    // `typed` without the spaces and tabs at its ends, in lower case; nothing else changes.
    static QString cleaned(const QString& typed);
    bool isInputValid() const;
    // What "Ajouter" and Return do: hand the cleaned text over and close, when there is one.
    void addSite();

    SheetHeader* header() const { return header_; }
    ThemedTextField* field() const { return field_; }
    QAbstractButton* addButton() const;

    QSize sizeHint() const override { return kSize; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class AddButton;

    void inputChanged();

    platform::Observable<bool>& isPresented_;
    std::function<void(const std::string&)> onAdd_;
    SheetHeader* header_;
    ThemedTextField* field_;
    AddButton* add_;
};

}  // namespace olvane::ui
