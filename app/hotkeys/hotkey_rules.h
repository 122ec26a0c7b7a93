// The rules of the hotkey setup dialog as plain functions: which choices it
// refuses, when a table holds a duplicate, and how a combination is named.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/hotkeys/hotkey_table.h"
#include "platform/hotkeys.h"

namespace vistrel {

// The function of a slot as the dialog names it ("Get Desktop" ...); slot 5
// has no row in the dialog and is named for what it is.
std::string_view HotKeyFunction(int slot);

// "F1" to "F5" (key indexes 2 to 6) need a modifier: refused while the
// slot's flags are 0.
bool KeyChoiceRefused(const THotKeySlot& slot, int key_index);
// Combinations the program's own keyboard use takes, by the slot's current
// key code: PrintScrn only with "None" or "ALT"; Ctrl with the letters of
// its own shortcuts; F1 to F7 with Ctrl+Shift; F1 to F5 alone.
bool ModifierChoiceRefused(const THotKeySlot& slot, int modifier_index);

// Applies a choice made in the dialog; false (and the slot unchanged) when
// the rule above refuses it or the index is outside its list.
bool ChooseKey(THotKeySlot& slot, int key_index);
bool ChooseModifier(THotKeySlot& slot, int modifier_index);

// Two different slots with the same key index (not "None") and the same
// modifier index.
bool HasDuplicateHotKey(const HotKeyTable& table);

// The list entry a stored index stands for; 0 ("None") outside the list.
int ShownKeyIndex(const THotKeySlot& slot);
int ShownModifierIndex(const THotKeySlot& slot);

// The combination a slot registers, as the lists write it: "PrintScrn",
// "ALT+F11", "CTRL+SHIFT+Num5". A code or flags outside the lists are
// named by their numbers.
std::string CombinationText(const THotKeySlot& slot);

// The warning that names the refused slots, one line each:
// "ALT+F11 (Get Active Window + Save)".
std::string RefusedHotKeysText(const HotKeyTable& table, const std::vector<int>& slots);

// A combination as desktops write it, for notices and tooltips:
// "Print Screen", "Alt+Print Screen", "Ctrl+Shift+F11".
std::string DesktopCombinationText(const THotKeySlot& slot);

// The command line that makes a slot's capture, for a desktop's own key
// binding: "vistrel-pro --capture area". The saving slots save into a
// folder the user names for FOLDER.
std::string HotKeyCommandLine(int slot);

// The notice after keys were refused, by how the desktop lends keys. Where
// the program grabs them: one line per slot, "Print Screen (Get Desktop)
// is used by another program", then how to free the key. Where the
// desktop lends none: the command line to bind for each slot. Where it
// assigns them: which it refused.
std::string RefusedHotKeysSummary(THotkeyLending lending);
std::string RefusedHotKeysNotice(const HotKeyTable& table, const std::vector<int>& slots,
                                 THotkeyLending lending = THotkeyLending::Grabs);

// The tray tooltip: the program's own, "Automatic Save on" while the
// capture timer runs, and the refused keys while any are.
std::string TrayTooltipText(std::string_view tooltip, bool automatic_save,
                            const HotKeyTable& table, const std::vector<int>& refused,
                            THotkeyLending lending = THotkeyLending::Grabs);

}  // namespace vistrel
