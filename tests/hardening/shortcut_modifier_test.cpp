#include "platform/key_codes.h"
#include "program/program_fixture.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

// A key grabbed for the whole desktop without a real modifier would be taken from every
// program's typing: only function keys may go without one.
TEST_F(ProgramTest, HotKeysNeedAModifierBesideShiftUnlessTheyAreFunctionKeys) {
  Start();
  struct Case {
    const char* text;
    bool registers;
  };
  for (const Case& c : {Case{"A", false}, Case{"⇧A", false}, Case{"⇧⎋", false}, Case{"F5", true},
                        Case{"⇧F13", true}, Case{"⌥A", true}, Case{"⇧⌘4", true}}) {
    EXPECT_EQ(RegisterHotkey(c.text, HotkeyEvent1), c.registers) << c.text;
  }
  struct Key {
    std::uint32_t modifiers;
    std::uint16_t key;
    char16_t character;
    bool kept;
  };
  for (const Key& k : {Key{0, 0, u'a', false}, Key{ModifierShift, 0, u'A', false},
                       Key{ModifierShift, 96, 0, true}, Key{ModifierControl, 0, u'a', true}}) {
    EXPECT_EQ(MapToShortcut(k.modifiers, k.key, k.character) != 0, k.kept)
        << k.modifiers << " " << k.key;
  }
}

}  // namespace
