#include "app/hotkeys/hotkey_rules.h"

#include <algorithm>

namespace vistrel {

namespace {

constexpr std::string_view kFunctions[kHotKeySlots] = {
    "Get Desktop",       "Get Desktop + Save",       "Get Rectangular Area",
    "Get Active Window", "Get Active Window + Save", "spare hotkey"};

// What each slot's command line captures, and whether it saves.
constexpr std::string_view kCaptureModes[kHotKeySlots] = {"desktop", "desktop", "area",
                                                         "window",  "window",  "area"};
constexpr bool kSaves[kHotKeySlots] = {false, true, false, false, true, false};

constexpr int kPrintScrn = 44;
constexpr int kNoModifier = 0;
constexpr int kAlt = 1;
constexpr int kCtrl = 2;
constexpr int kCtrlShift = 7;
// The letters of the program's own Ctrl shortcuts: A, C, E, L, M, P, R, S, T, X.
constexpr int kCtrlLetters[] = {65, 67, 69, 76, 77, 80, 82, 83, 84, 88};

bool InList(int index, std::size_t size) { return index >= 0 && std::size_t(index) < size; }

}  // namespace

std::string_view HotKeyFunction(int slot) {
  return InList(slot, kHotKeySlots) ? kFunctions[slot] : std::string_view("hotkey");
}

bool KeyChoiceRefused(const THotKeySlot& slot, int key_index) {
  return key_index >= 2 && key_index <= 6 && slot.Modifier == 0;
}

bool ModifierChoiceRefused(const THotKeySlot& slot, int m) {
  const int code = slot.HotKey;
  if (code == kPrintScrn) return m != kNoModifier && m != kAlt;
  if (std::find(std::begin(kCtrlLetters), std::end(kCtrlLetters), code) != std::end(kCtrlLetters))
    return m == kCtrl;
  if (code >= 112 && code <= 116) return m == kNoModifier || m == kCtrlShift;  // F1..F5
  if (code == 117 || code == 118) return m == kCtrlShift;                       // F6, F7
  return false;
}

bool ChooseKey(THotKeySlot& slot, int k) {
  if (!InList(k, kHotKeyKeys.size()) || KeyChoiceRefused(slot, k)) return false;
  slot.IndexH = k;
  slot.HotKey = kHotKeyKeys[std::size_t(k)].value;
  return true;
}

bool ChooseModifier(THotKeySlot& slot, int m) {
  if (!InList(m, kHotKeyModifiers.size()) || ModifierChoiceRefused(slot, m)) return false;
  slot.IndexM = m;
  slot.Modifier = kHotKeyModifiers[std::size_t(m)].value;
  return true;
}

bool HasDuplicateHotKey(const HotKeyTable& table) {
  for (int a = 0; a < kHotKeySlots; ++a)
    for (int b = a + 1; b < kHotKeySlots; ++b) {
      const THotKeySlot& x = table.keys[std::size_t(a)];
      const THotKeySlot& y = table.keys[std::size_t(b)];
      if (x.IndexH != 0 && x.IndexH == y.IndexH && x.IndexM == y.IndexM) return true;
    }
  return false;
}

int ShownKeyIndex(const THotKeySlot& slot) {
  return InList(slot.IndexH, kHotKeyKeys.size()) ? slot.IndexH : 0;
}

int ShownModifierIndex(const THotKeySlot& slot) {
  return InList(slot.IndexM, kHotKeyModifiers.size()) ? slot.IndexM : 0;
}

std::string CombinationText(const THotKeySlot& slot) {
  std::string key = "key code " + std::to_string(slot.HotKey);
  for (const THotKeyChoice& choice : kHotKeyKeys)
    if (choice.value == slot.HotKey && slot.HotKey != 0) key = std::string(choice.text);
  if (slot.Modifier == 0) return key;
  for (const THotKeyChoice& choice : kHotKeyModifiers)
    if (choice.value == slot.Modifier) return std::string(choice.text) + "+" + key;
  return "modifiers " + std::to_string(slot.Modifier) + "+" + key;
}

std::string RefusedHotKeysText(const HotKeyTable& table, const std::vector<int>& slots) {
  std::string text =
      "These hotkeys could not be registered,\r\n"
      "another program or the desktop holds them:\r\n";
  for (int slot : slots) {
    if (!InList(slot, kHotKeySlots)) continue;
    text += "\r\n" + CombinationText(table.keys[std::size_t(slot)]) + " (" +
            std::string(HotKeyFunction(slot)) + ")";
  }
  return text;
}

std::string DesktopCombinationText(const THotKeySlot& slot) {
  std::string text;
  if (slot.Modifier & 2) text += "Ctrl+";
  if (slot.Modifier & 1) text += "Alt+";
  if (slot.Modifier & 4) text += "Shift+";
  const std::string key = CombinationText(THotKeySlot{slot.HotKey, 0, 0, 0});
  return text + (slot.HotKey == kPrintScrn ? std::string("Print Screen") : key);
}

std::string HotKeyCommandLine(int slot) {
  if (!InList(slot, kHotKeySlots)) return {};
  std::string line = "vistrel-pro --capture " + std::string(kCaptureModes[slot]);
  return kSaves[slot] ? line + " --output-dir FOLDER" : line;
}

std::string RefusedHotKeysSummary(THotkeyLending lending) {
  switch (lending) {
    case THotkeyLending::None:
      return "Vistrel-Pro: the desktop assigns the hotkeys";
    case THotkeyLending::Assigned:
      return "Vistrel-Pro: the desktop refused a hotkey";
    case THotkeyLending::Grabs:
      break;
  }
  return "Vistrel-Pro: a hotkey is used by another program";
}

std::string RefusedHotKeysNotice(const HotKeyTable& table, const std::vector<int>& slots,
                                 THotkeyLending lending) {
  std::string text;
  for (int slot : slots) {
    const std::string key = DesktopCombinationText(table.keys[std::size_t(slot)]) + " (" +
                            std::string(HotKeyFunction(slot)) + ")";
    switch (lending) {
      case THotkeyLending::Grabs:
        text += key + " is used by another program\n";
        break;
      case THotkeyLending::None:
        text += key + ": " + HotKeyCommandLine(slot) + "\n";
        break;
      case THotkeyLending::Assigned:
        text += key + " was refused by the desktop\n";
        break;
    }
  }
  switch (lending) {
    case THotkeyLending::None:
      return text +
             "This desktop lends programs no hotkeys: bind each key to its command line in the "
             "desktop's keyboard settings.";
    case THotkeyLending::Assigned:
      return text + "Allow the keys in the desktop's keyboard settings, then close Hotkey Setup "
                    "to ask again.";
    case THotkeyLending::Grabs:
      break;
  }
  return text +
         "Free the key in the desktop's keyboard settings, or choose another key in Hotkey "
         "Setup. Vistrel-Pro tries again every few seconds.";
}

std::string TrayTooltipText(std::string_view tooltip, bool automatic_save,
                            const HotKeyTable& table, const std::vector<int>& refused,
                            THotkeyLending lending) {
  std::string text(tooltip);
  if (automatic_save) text += "\nAutomatic Save on";
  if (refused.empty()) return text;
  switch (lending) {
    case THotkeyLending::Grabs:
      text += "\nKeys used by another program:";
      break;
    case THotkeyLending::None:
      text += "\nKeys to bind in the desktop's settings:";
      break;
    case THotkeyLending::Assigned:
      text += "\nKeys the desktop refused:";
      break;
  }
  for (std::size_t i = 0; i < refused.size(); ++i)
    text += (i ? ", " : " ") + DesktopCombinationText(table.keys[std::size_t(refused[i])]);
  return text;
}

}  // namespace vistrel
