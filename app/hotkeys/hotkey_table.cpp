#include "app/hotkeys/hotkey_table.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/hotkeys/hotkey_rules.h"
#include "platform/hotkeys.h"
#include "settings/settings_store.h"

namespace vistrel {

const std::array<THotKeyChoice, 59> kHotKeyKeys = {{
    {"None", 0},       {"PrintScrn", 44}, {"F1", 112},      {"F2", 113},       {"F3", 114},
    {"F4", 115},       {"F5", 116},       {"F6", 117},      {"F7", 118},       {"F8", 119},
    {"F9", 120},       {"F10", 121},      {"F11", 122},     {"F12", 123},      {"Num0", 96},
    {"Num1", 97},      {"Num2", 98},      {"Num3", 99},     {"Num4", 100},     {"Num5", 101},
    {"Num6", 102},     {"Num7", 103},     {"Num8", 104},    {"Num9", 105},     {"A", 65},
    {"B", 66},         {"C", 67},         {"D", 68},        {"E", 69},         {"F", 70},
    {"G", 71},         {"H", 72},         {"I", 73},        {"J", 74},         {"K", 75},
    {"L", 76},         {"M", 77},         {"N", 78},        {"O", 79},         {"P", 80},
    {"Q", 81},         {"R", 82},         {"S", 83},        {"T", 84},         {"U", 85},
    {"V", 86},         {"W", 87},         {"X", 88},        {"Y", 89},         {"Z", 90},
    {"Page-Up", 33},   {"Page-Down", 34}, {"End", 35},      {"Home", 36},      {"Multiply", 106},
    {"Add", 107},      {"subtract", 109}, {"Divide", 111},  {"Pause", 19},
}};

const std::array<THotKeyChoice, 8> kHotKeyModifiers = {{
    {"None", 0},      {"ALT", 1},       {"CTRL", 2},           {"SHIFT", 4},
    {"ALT+CTRL", 3},  {"ALT+SHIFT", 5}, {"ALT+CTRL+SHIFT", 7}, {"CTRL+SHIFT", 6},
}};

void HotKeyTable::SetDefaultHotKeys() {
  keys.fill(THotKeySlot{});
  keys[0] = {44, 0, 1, 0};
  keys[3] = {44, 1, 1, 1};
}

void HotKeyTable::Load(const SettingsStore& st) {
  for (int n = 0; n < kHotKeySlots; ++n) {
    const std::string i = std::to_string(n);
    THotKeySlot& s = keys[std::size_t(n)];
    s.HotKey = st.ReadInteger(kHotKeysSection, "HotKey" + i, 44);
    s.Modifier = st.ReadInteger(kHotKeysSection, "Modifier" + i, 0);
    s.IndexH = st.ReadInteger(kHotKeysSection, "IndexH" + i, 0);
    s.IndexM = st.ReadInteger(kHotKeysSection, "IndexM" + i, 0);
  }
}

void HotKeyTable::SaveHotKeys(SettingsStore& st) const {
  for (int n = 0; n < kHotKeySlots; ++n) {
    const std::string i = std::to_string(n);
    const THotKeySlot& s = keys[std::size_t(n)];
    st.WriteInteger(kHotKeysSection, "HotKey" + i, s.HotKey);
    st.WriteInteger(kHotKeysSection, "Modifier" + i, s.Modifier);
    st.WriteInteger(kHotKeysSection, "IndexH" + i, s.IndexH);
    st.WriteInteger(kHotKeysSection, "IndexM" + i, s.IndexM);
  }
}

void LoadHotKeysAtStart(HotKeyTable& table, SettingsStore& store) {
  try {
    if (store.SectionExists(kHotKeysSection)) {
      HotKeyTable read = table;
      read.Load(store);
      table = read;
    } else {
      table.SetDefaultHotKeys();
      table.SaveHotKeys(store);
    }
  } catch (const std::exception&) {
    // The table keeps what it had; start-up goes on.
  }
}

THotKeys::THotKeys(IHotkeys& desktop) : desktop_(desktop) {
  for (int n = 0; n < kHotKeySlots; ++n)
    desktop_.Describe(kFirstHotKeyId + n, std::string(HotKeyFunction(n)));
  desktop_.SetRefusedHandler([this](const std::vector<int>& ids) { RefusedLater(ids); });
  desktop_.SetAssignedHandler([this] {
    if (assigned_changed_) assigned_changed_();
  });
}

THotKeys::~THotKeys() {
  desktop_.SetRefusedHandler(nullptr);
  desktop_.SetAssignedHandler(nullptr);
}

void THotKeys::RefusedLater(const std::vector<int>& ids) {
  if (suspended_) return;
  for (int id : ids) {
    const int n = id - kFirstHotKeyId;
    if (n < 0 || n >= kHotKeySlots || std::find(refused_.begin(), refused_.end(), n) != refused_.end())
      continue;
    refused_.push_back(n);
  }
  std::sort(refused_.begin(), refused_.end());
  if (refused_changed_) refused_changed_();
}

void THotKeys::UnregisterHotKeys() {
  for (int n = 0; n < kHotKeySlots; ++n) desktop_.Unregister(kFirstHotKeyId + n);
  refused_.clear();
}

bool THotKeys::RegisterSlot(int n) {
  const THotKeySlot& s = table_.keys[std::size_t(n)];
  return desktop_.Register(kFirstHotKeyId + n, unsigned(s.Modifier), unsigned(s.HotKey)) ||
         s.HotKey == 0;
}

std::vector<int> THotKeys::RegisterHotKeys() {
  UnregisterHotKeys();
  std::vector<int> refused;
  for (int n = 0; n < kHotKeySlots; ++n) {
    if (RegisterSlot(n)) continue;
    refused.push_back(n);
    // A combination an earlier slot of this table holds is no other
    // program's to let go: asking again would never help.
    const THotKeySlot& s = table_.keys[std::size_t(n)];
    const bool own = std::any_of(table_.keys.begin(), table_.keys.begin() + n,
                                 [&](const THotKeySlot& earlier) {
                                   return earlier.HotKey == s.HotKey &&
                                          earlier.Modifier == s.Modifier;
                                 });
    if (!own) refused_.push_back(n);
  }
  if (refused_changed_) refused_changed_();
  return refused;
}

std::vector<int> THotKeys::RetryRefused() {
  std::vector<int> taken;
  if (suspended_ || desktop_.Lending() != THotkeyLending::Grabs) return taken;
  std::erase_if(refused_, [&](int n) {
    if (!RegisterSlot(n)) return false;
    taken.push_back(n);
    return true;
  });
  if (!taken.empty() && refused_changed_) refused_changed_();
  return taken;
}

void THotKeys::SetSuspended(bool on) {
  if (on == suspended_) return;
  suspended_ = on;
  if (on) {
    backup_ = table_;
    UnregisterHotKeys();
    if (refused_changed_) refused_changed_();
  } else {
    table_ = backup_;
    RegisterHotKeys();
  }
}

}  // namespace vistrel
