#pragma once

namespace olvane {

// The three modules whose web side only a browser extension can carry out.
enum class WebFeatureCategory { monochrome, contrepoids, assainisseur };

}  // namespace olvane
