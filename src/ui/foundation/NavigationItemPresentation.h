#pragma once

#include <string_view>

#include "app/NavigationItem.h"

namespace olvane::ui {

// The title and symbol the sidebar shows for each page.
struct NavigationItemPresentation {
    std::string_view title;
    std::string_view symbol;
};

constexpr NavigationItemPresentation presentation(NavigationItem item) {
    switch (item) {
        case NavigationItem::accueil:
            return {"Accueil", "house.fill"};
        case NavigationItem::configurateur:
            return {"Configurateur", "sparkles"};
        case NavigationItem::guide:
            return {"Guide", "book.pages.fill"};
        case NavigationItem::grayscaleFilter:
            return {"Monochrome", "circle.lefthalf.filled"};
        case NavigationItem::frictionEffects:
            return {"Contrepoids", "scalemass.fill"};
        case NavigationItem::contentFilter:
            return {"Assainisseur", "bubbles.and.sparkles.fill"};
        case NavigationItem::extensions:
            return {"Extensions", "puzzlepiece.extension.fill"};
        case NavigationItem::settings:
            return {"Réglages", "gearshape.fill"};
    }
    return {"", ""};
}

}  // namespace olvane::ui
