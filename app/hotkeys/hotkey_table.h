// The six hotkey keys, their stored form in "Setup\HotKeys", the lists the
// hotkey dialog composes them from, and their registration with the desktop.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vistrel {

class SettingsStore;
class IHotkeys;

inline constexpr const char* kHotKeysSection = "Setup\\HotKeys";
inline constexpr int kHotKeySlots = 6;
inline constexpr int kFirstHotKeyId = 1000;  // slot n registers id 1000 + n

struct THotKeySlot {
  std::int32_t HotKey = 0;    // virtual-key code, 0 = no key
  std::int32_t Modifier = 0;  // 1 Alt + 2 Ctrl + 4 Shift
  std::int32_t IndexH = 0;    // position in kHotKeyKeys
  std::int32_t IndexM = 0;    // position in kHotKeyModifiers
  bool operator==(const THotKeySlot&) const = default;
};

struct THotKeyChoice {
  std::string_view text;
  std::int32_t value;
};

// What the dialog offers: index -> text and key code or modifier flags.
extern const std::array<THotKeyChoice, 59> kHotKeyKeys;
extern const std::array<THotKeyChoice, 8> kHotKeyModifiers;

struct HotKeyTable {
  std::array<THotKeySlot, kHotKeySlots> keys{};

  // PrintScrn on slot 0 ("Get Desktop"), Alt+PrintScrn on slot 3
  // ("Get Active Window"), nothing elsewhere.
  void SetDefaultHotKeys();
  // Reads the 24 values; a missing key code reads 44 (PrintScrn).
  void Load(const SettingsStore& store);
  void SaveHotKeys(SettingsStore& store) const;
  bool operator==(const HotKeyTable&) const = default;
};

// Start-up: the stored table when the section holds anything, otherwise the
// defaults, which are then stored. A failure while reading leaves `table`
// as it was.
void LoadHotKeysAtStart(HotKeyTable& table, SettingsStore& store);

// The registered state of the table, and Suspend, which takes every hotkey
// off and later puts back the table that was in force before.
class THotKeys {
 public:
  // Names each slot to the desktop and takes its later refusals.
  explicit THotKeys(IHotkeys& desktop);
  ~THotKeys();
  THotKeys(const THotKeys&) = delete;
  THotKeys& operator=(const THotKeys&) = delete;

  IHotkeys& Desktop() { return desktop_; }

  HotKeyTable& Table() { return table_; }
  const HotKeyTable& Table() const { return table_; }

  // Unregisters all six ids, then registers each slot. Returns the slots
  // with a key that the desktop refused (a slot without a key is none);
  // the setup dialog names them, and they stay listed in Refused().
  std::vector<int> RegisterHotKeys();
  void UnregisterHotKeys();

  // Slots whose key the desktop refused at the last registration and has
  // not taken since, leaving out those whose combination an earlier slot
  // holds. Empty while suspended.
  const std::vector<int>& Refused() const { return refused_; }
  // Asks the desktop again for every refused slot (another program may have
  // let the key go). Returns the slots that are registered now. Only where
  // the program grabs its keys: a desktop that assigns them answers alike.
  std::vector<int> RetryRefused();
  // Called after every registration of the table and every retry that took
  // a key, so the tray can say which keys are still refused.
  // Also after the desktop refused slots it had taken at registration.
  void SetRefusedChanged(std::function<void()> handler) { refused_changed_ = std::move(handler); }
  // Called when the desktop's own keys for the slots change.
  void SetAssignedChanged(std::function<void()> handler) { assigned_changed_ = std::move(handler); }

  // On: back the table up, unregister. Off: restore the backup, register.
  void SetSuspended(bool on);

 private:
  // Registers slot n; true when it holds a key the desktop took, or none.
  bool RegisterSlot(int n);
  void RefusedLater(const std::vector<int>& ids);

  IHotkeys& desktop_;
  HotKeyTable table_;
  HotKeyTable backup_;
  bool suspended_ = false;
  std::vector<int> refused_;
  std::function<void()> refused_changed_;
  std::function<void()> assigned_changed_;
};

}  // namespace vistrel
