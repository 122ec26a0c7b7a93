#include "platform/x11/x11_hotkeys.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <optional>

#include "platform/hotkey_keys.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/xcb_reply.h"

namespace vistrel {
namespace {

constexpr std::uint16_t kCommandModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

}  // namespace

X11Hotkeys::X11Hotkeys(std::shared_ptr<X11Connection> conn) : conn_(std::move(conn)) {
  symbols_ = xcb_key_symbols_alloc(conn_->get());
  ReadNumLockMask();
}

X11Hotkeys::~X11Hotkeys() {
  for (const auto& [id, grab] : grabs_) Ungrab(grab);
  xcb_flush(conn_->get());
  if (symbols_) xcb_key_symbols_free(symbols_);
}

int X11Hotkeys::EventFd() const { return xcb_get_file_descriptor(conn_->get()); }

void X11Hotkeys::ReadNumLockMask() {
  num_lock_mask_ = 0;
  if (!symbols_) return;
  xcb_connection_t* c = conn_->get();
  XcbReply<xcb_keycode_t> num_lock(xcb_key_symbols_get_keycode(symbols_, XK_Num_Lock));
  if (!num_lock) return;
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_modifier_mapping_reply_t> map(
      xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), &error));
  std::free(error);
  if (!map) return;
  const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
  const int per = map->keycodes_per_modifier;
  for (int mod = 0; mod < 8; ++mod)
    for (int i = 0; i < per; ++i)
      for (const xcb_keycode_t* k = num_lock.get(); *k != XCB_NO_SYMBOL; ++k)
        if (codes[mod * per + i] == *k) num_lock_mask_ = std::uint16_t(1 << mod);
}

std::vector<std::uint16_t> X11Hotkeys::LockVariants(std::uint16_t modifiers) const {
  std::vector<std::uint16_t> variants{modifiers, std::uint16_t(modifiers | XCB_MOD_MASK_LOCK)};
  if (num_lock_mask_) {
    variants.push_back(std::uint16_t(modifiers | num_lock_mask_));
    variants.push_back(std::uint16_t(modifiers | num_lock_mask_ | XCB_MOD_MASK_LOCK));
  }
  return variants;
}

bool X11Hotkeys::Register(int id, unsigned modifier_flags, unsigned virtual_key) {
  Unregister(id);
  const std::uint32_t keysym = KeysymForVirtualKey(virtual_key);
  const int modifiers = X11ModifiersForFlags(modifier_flags);
  if (!keysym || modifiers < 0 || !symbols_ || conn_->Broken()) return false;
  // X lets one client grab a combination twice; a second id for the same
  // combination is refused here, as the desktop refuses other programs.
  for (const auto& [other_id, grab] : grabs_)
    if (grab.keysym == keysym && grab.modifiers == modifiers) return false;

  Grab grab;
  grab.keysym = keysym;
  grab.modifiers = std::uint16_t(modifiers);
  XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols_, keysym));
  for (const xcb_keycode_t* k = codes.get(); k && *k != XCB_NO_SYMBOL; ++k)
    grab.keycodes.push_back(*k);
  if (grab.keycodes.empty()) return false;  // the keyboard has no such key
  grab.masks = LockVariants(grab.modifiers);

  xcb_connection_t* c = conn_->get();
  std::vector<xcb_void_cookie_t> cookies;
  for (std::uint8_t keycode : grab.keycodes)
    for (std::uint16_t mask : grab.masks)
      cookies.push_back(xcb_grab_key_checked(c, 1, conn_->root(), mask, keycode,
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  bool refused = false;
  for (xcb_void_cookie_t cookie : cookies) {
    // BadAccess: another client holds the combination.
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
      refused = true;
      std::free(error);
    }
  }
  if (refused) {
    Ungrab(grab);
    xcb_flush(c);
    return false;
  }
  grabs_.emplace(id, std::move(grab));
  return true;
}

void X11Hotkeys::Ungrab(const Grab& grab) {
  // Releases only this client's grabs, never another program's.
  // The masks of the grab itself: NumLock may have moved since.
  for (std::uint8_t keycode : grab.keycodes)
    for (std::uint16_t mask : grab.masks)
      xcb_ungrab_key(conn_->get(), keycode, conn_->root(), mask);
}

void X11Hotkeys::Unregister(int id) {
  auto found = grabs_.find(id);
  if (found == grabs_.end()) return;
  Ungrab(found->second);
  grabs_.erase(found);
  // A round trip, so the key is free for others when this returns.
  xcb_connection_t* c = conn_->get();
  XcbReply<xcb_get_input_focus_reply_t> sync(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

bool X11Hotkeys::ProcessPendingEvents() {
  xcb_connection_t* c = conn_->get();
  while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
    XcbReply<xcb_generic_event_t> owned(event);
    const std::uint8_t type = event->response_type & 0x7F;
    if (type == XCB_KEY_PRESS) {
      const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
      const std::uint16_t modifiers = press->state & kCommandModifiers;
      std::optional<int> pressed;
      for (const auto& [id, grab] : grabs_)
        if (grab.modifiers == modifiers)
          for (std::uint8_t keycode : grab.keycodes)
            if (keycode == press->detail) pressed = id;
      // The handler may run a whole capture with nested event loops that
      // register keys again; it gets a copy of itself and no iterators.
      if (pressed && handler_) {
        THandler handler = handler_;
        handler(*pressed);
      }
    } else if (type == XCB_MAPPING_NOTIFY) {
      // Keys registered later use the new map; NumLock may have moved.
      xcb_refresh_keyboard_mapping(symbols_,
                                   reinterpret_cast<xcb_mapping_notify_event_t*>(event));
      ReadNumLockMask();
    }
  }
  return !conn_->Broken();
}

}  // namespace vistrel
