#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

#include "platform/KeyCodes.h"
#include "platform/KeyEvent.h"

namespace olvane::platform {
namespace {

TEST(KeyCodes, ShortcutKeysKeepTheirPositionsWhateverTheLayout) {
    // AZERTY A/Z sit where QWERTY Q/W do; M where QWERTY has the semicolon.
    EXPECT_EQ(keyCodeForEvdev(KEY_Q), 12);
    EXPECT_EQ(keyCodeForEvdev(KEY_W), 13);
    EXPECT_EQ(keyCodeForEvdev(KEY_P), 35);
    EXPECT_EQ(keyCodeForEvdev(KEY_SEMICOLON), 41);
    EXPECT_EQ(keyCodeForEvdev(KEY_N), 45);
    EXPECT_EQ(keyCodeForEvdev(KEY_B), 11);
    EXPECT_EQ(keyCodeForEvdev(KEY_SPACE), 49);
    EXPECT_EQ(keyCodeForEvdev(KEY_ESC), 53);
    EXPECT_EQ(keyCodeForEvdev(KEY_A), 0);
}

TEST(KeyCodes, ModifierAndUnknownKeysMakeNoKeyDownAndNoTwoMainKeysShareACode) {
    for (unsigned key : {KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_LEFTCTRL, KEY_RIGHTCTRL, KEY_LEFTALT,
                         KEY_RIGHTALT, KEY_LEFTMETA, KEY_RIGHTMETA, KEY_CAPSLOCK}) {
        EXPECT_TRUE(isModifierKey(key)) << key;
        EXPECT_FALSE(keyCodeForEvdev(key)) << key;
    }
    EXPECT_FALSE(isModifierKey(KEY_A));
    EXPECT_FALSE(keyCodeForEvdev(KEY_VOLUMEUP));
    EXPECT_FALSE(keyCodeForEvdev(KEY_RESERVED));
    EXPECT_FALSE(keyCodeForEvdev(100000));

    // Letters, digits and punctuation of the main block are told apart.
    std::set<std::uint16_t> codes;
    for (unsigned key = KEY_ESC; key <= KEY_SLASH; ++key) {
        if (const auto code = keyCodeForEvdev(key)) {
            EXPECT_TRUE(codes.insert(*code).second) << "evdev " << key;
        }
    }
    EXPECT_EQ(codes.size(), 51u);  // Esc to Slash, without left Control and left Shift
}

TEST(KeyModifiers, RequiredModifiersMayComeWithOthers) {
    const KeyModifiers required = KeyModifier::Control | KeyModifier::Option | KeyModifier::Command;
    EXPECT_EQ(required.mask(), 0x1C0000u);
    EXPECT_TRUE((required | KeyModifier::Shift).containsAll(required));
    EXPECT_FALSE((KeyModifier::Control | KeyModifier::Option).containsAll(required));
    EXPECT_TRUE(KeyModifiers::fromMask(0x1E0000).has(KeyModifier::Shift));
}

}  // namespace
}  // namespace olvane::platform
