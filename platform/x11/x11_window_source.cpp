#include "platform/x11/x11_window_source.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xcb_reply.h"

namespace vistrel {
namespace {

// A property of 32-bit items; empty when missing or of another kind.
std::vector<std::uint32_t> Property32(xcb_connection_t* c, std::uint32_t window,
                                      std::uint32_t atom, std::uint32_t type,
                                      std::uint32_t max_items, bool* exists = nullptr) {
  std::vector<std::uint32_t> items;
  if (exists) *exists = false;
  if (!atom) return items;
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, atom, type, 0, max_items), &error));
  std::free(error);
  if (!reply || reply->type == XCB_NONE) return items;
  if (exists) *exists = true;
  if (reply->format != 32) return items;
  const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  items.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
  return items;
}

}  // namespace

X11WindowSource::X11WindowSource(std::shared_ptr<X11Connection> conn) : conn_(std::move(conn)) {}

TWindowId X11WindowSource::ActiveWindow() {
  xcb_connection_t* c = conn_->get();
  bool managed = false;
  const auto active = Property32(c, conn_->root(), conn_->Atom("_NET_ACTIVE_WINDOW"),
                                 XCB_ATOM_WINDOW, 1, &managed);
  if (managed) return active.empty() ? 0 : active[0];
  // No EWMH window manager: the window with the keyboard focus.
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_input_focus_reply_t> focus(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), &error));
  std::free(error);
  if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
      focus->focus == conn_->root())
    return 0;
  return focus->focus;
}

std::optional<TScreenRect> X11WindowSource::InsideRect(std::uint32_t window, int* border) {
  xcb_connection_t* c = conn_->get();
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error));
  std::free(error);
  error = nullptr;
  if (!geometry) return std::nullopt;
  XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
      c, xcb_translate_coordinates(c, window, conn_->root(), 0, 0), &error));
  std::free(error);
  if (!origin) return std::nullopt;
  if (border) *border = geometry->border_width;
  return TScreenRect{origin->dst_x, origin->dst_y, origin->dst_x + geometry->width,
                     origin->dst_y + geometry->height};
}

std::optional<TScreenRect> X11WindowSource::RootRectWithBorder(std::uint32_t window) {
  int border = 0;
  std::optional<TScreenRect> rect = InsideRect(window, &border);
  if (rect) *rect = TScreenRect{rect->left - border, rect->top - border, rect->right + border,
                                rect->bottom + border};
  return rect;
}

std::uint32_t X11WindowSource::TopLevelOf(std::uint32_t window) {
  xcb_connection_t* c = conn_->get();
  // Window trees are shallow; the bound only guards against a broken server.
  for (int depth = 0; depth < 64; ++depth) {
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, window), &error));
    std::free(error);
    if (!tree) return 0;
    if (tree->parent == conn_->root() || tree->parent == XCB_NONE) return window;
    window = tree->parent;
  }
  return 0;
}

bool X11WindowSource::HasWmState(std::uint32_t window) {
  bool exists = false;
  const std::uint32_t atom = conn_->Atom("WM_STATE");
  Property32(conn_->get(), window, atom, atom, 2, &exists);
  return exists;
}

std::optional<TScreenRect> X11WindowSource::OuterRect(TWindowId window) {
  if (!window) return std::nullopt;
  const std::uint32_t id = std::uint32_t(window);
  const std::uint32_t top = TopLevelOf(id);
  if (!top) return std::nullopt;
  // A reparenting window manager's frame holds the decorations.
  if (top != id) return RootRectWithBorder(top);
  std::optional<TScreenRect> rect = RootRectWithBorder(id);
  if (!rect) return rect;
  // Otherwise the manager says how far its decorations reach.
  const auto extents = Property32(conn_->get(), id, conn_->Atom("_NET_FRAME_EXTENTS"),
                                  XCB_ATOM_CARDINAL, 4);
  if (extents.size() == 4) {
    rect->left -= int(extents[0]);
    rect->right += int(extents[1]);
    rect->top -= int(extents[2]);
    rect->bottom += int(extents[3]);
  }
  return rect;
}

std::optional<TScreenRect> X11WindowSource::ClientRect(TWindowId window) {
  if (!window) return std::nullopt;
  xcb_connection_t* c = conn_->get();
  const std::uint32_t id = std::uint32_t(window);
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), &error));
  std::free(error);
  if (!attributes) return std::nullopt;
  // A minimised window is unmapped and has no client area to show.
  if (attributes->map_state != XCB_MAP_STATE_VIEWABLE) return TScreenRect{};
  return InsideRect(id, nullptr);
}

bool X11WindowSource::IsOwnWindow(std::uint32_t window, int depth) {
  xcb_connection_t* c = conn_->get();
  const auto pid = Property32(c, window, conn_->Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 1);
  if (!pid.empty()) return pid[0] == std::uint32_t(getpid());
  // A window manager's frame holds the client that carries the process id
  // a level or two further down.
  if (depth <= 0) return false;
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), &error));
  std::free(error);
  if (!tree) return false;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
    if (IsOwnWindow(children[i], depth - 1)) return true;
  return false;
}

std::uint32_t X11WindowSource::ChildAt(std::uint32_t parent, int x, int y, bool skip_own) {
  xcb_connection_t* c = conn_->get();
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, parent), &error));
  std::free(error);
  if (!tree) return 0;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  // Topmost first.
  for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
    const std::uint32_t window = children[i];
    error = nullptr;
    XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error));
    std::free(error);
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
        attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
      continue;
    const std::optional<TScreenRect> rect = RootRectWithBorder(window);
    if (!rect || !rect->Contains(x, y) || (skip_own && IsOwnWindow(window, 3))) continue;
    return window;
  }
  return 0;
}

std::optional<TPointedWindow> X11WindowSource::WindowUnderPointer() {
  xcb_connection_t* c = conn_->get();
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_query_pointer_reply_t> at_root(
      xcb_query_pointer_reply(c, xcb_query_pointer(c, conn_->root()), &error));
  std::free(error);
  if (!at_root) return std::nullopt;
  return WindowAt(at_root->root_x, at_root->root_y);
}

std::optional<TPointedWindow> X11WindowSource::WindowAt(int x, int y) {
  // The program's own windows (an overlay that is still being taken off
  // the screen, a hidden picture window) are looked through, so the windows
  // are found by their places rather than by where the server sends the
  // pointer's events.
  const std::uint32_t top_level = ChildAt(conn_->root(), x, y, true);
  TPointedWindow pointed;
  if (!top_level) {
    // Over the bare desktop: the desktop itself.
    pointed.window = conn_->root();
    pointed.rect = conn_->RootRect();
    return pointed;
  }
  // Down to the deepest window at the pointer.
  std::uint32_t window = top_level;
  std::uint32_t client = HasWmState(top_level) ? top_level : 0;
  for (int depth = 0; depth < 64; ++depth) {
    const std::uint32_t child = ChildAt(window, x, y, false);
    if (!child) break;
    window = child;
    if (!client && HasWmState(window)) client = window;
  }
  // A control inside an application window is taken by itself; the
  // application window itself, or its frame, means the whole framed window.
  const bool inside_client = client && window != client;
  pointed.window = inside_client ? window : (client ? client : top_level);
  std::optional<TScreenRect> rect = inside_client ? RootRectWithBorder(window)
                                     : client      ? OuterRect(client)
                                                   : RootRectWithBorder(top_level);
  if (!rect) return std::nullopt;
  pointed.rect = *rect;
  return pointed;
}

}  // namespace vistrel
