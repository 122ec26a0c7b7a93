#include "platform/wayland/sway_window_source.h"

#include <unistd.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "platform/wayland/sway_ipc.h"
#include "platform/wayland/wayland_display.h"

namespace vistrel {

namespace {

using nlohmann::json;

TScreenRect RectOf(const json& rect, int dx = 0, int dy = 0) {
  const int x = rect.value("x", 0) + dx, y = rect.value("y", 0) + dy;
  return TScreenRect{x, y, x + rect.value("width", 0), y + rect.value("height", 0)};
}

// Deeper than any tree sway builds; a deeper one is no reply of sway's.
constexpr int kMaxTreeDepth = 256;

struct TTreeWalk {
  std::vector<TSwayWindow> fullscreen, floating, tiled;

  // False for a tree nested deeper than kMaxTreeDepth. `shown`: the node
  // lies on the workspace that its output shows, in front of its tabs.
  // Sway's own "visible" is also false for what a full-screen window
  // covers, and the program's frozen desktop is such a window.
  bool Walk(const json& node, const std::string& output, bool in_floating, bool shown, int depth) {
    if (depth > kMaxTreeDepth) return false;
    const std::string type = node.value("type", "");
    const std::string here = type == "output" ? node.value("name", "") : output;
    if (type == "output") shown = here != "__i3";  // the scratchpad's
    if ((type == "con" || type == "floating_con") && node.contains("pid")) {
      TSwayWindow window;
      window.id = node.value("id", TWindowId(0));
      window.pid = node.value("pid", 0L);
      window.output = here;
      const TScreenRect rect = RectOf(node.value("rect", json::object()));
      window.client = RectOf(node.value("window_rect", json::object()), rect.left, rect.top);
      // The title bar sits on top of the container's own rectangle.
      const int title = node.value("deco_rect", json::object()).value("height", 0);
      window.frame = TScreenRect{rect.left, rect.top - title, rect.right, rect.bottom};
      window.focused = node.value("focused", false);
      window.visible = shown;
      (node.value("fullscreen_mode", 0) != 0 ? fullscreen
       : in_floating || type == "floating_con" ? floating
                                               : tiled)
          .push_back(window);
    }
    // An output shows its current workspace; of tabs and stacks only the
    // child focused last is in front.
    const std::string layout = node.value("layout", "");
    const bool tabs = layout == "tabbed" || layout == "stacked";
    const std::string workspace = type == "output" ? node.value("current_workspace", "") : "";
    const json no_focus = json::array();
    const auto focus = node.find("focus");
    const json& order = focus != node.end() && focus->is_array() ? *focus : no_focus;
    const auto in_front = [&](const json& child) {
      if (type == "output") return child.value("name", "") == workspace;
      return !tabs || order.empty() || order.front() == child.value("id", json());
    };
    // Children are walked where they lie: a copy of each level would cost
    // the square of the tree's size.
    for (const auto& [key, floats] : {std::pair{"nodes", false}, std::pair{"floating_nodes", true}}) {
      const auto children = node.find(key);
      if (children == node.end()) continue;
      for (const json& child : children->get_ref<const json::array_t&>())
        if (!Walk(child, here, in_floating || floats, shown && (floats || in_front(child)), depth + 1))
          return false;
    }
    return true;
  }
};

}  // namespace

std::optional<std::vector<TSwayWindow>> SwayWindowsOfTree(const std::string& tree_json) {
  const json tree = json::parse(tree_json, nullptr, false);
  if (!tree.is_object()) return std::nullopt;
  TTreeWalk walk;
  try {
    if (!walk.Walk(tree, "", false, true, 0)) return std::nullopt;
  } catch (const json::exception&) {
    return std::nullopt;  // a value of another kind than sway sends
  }
  // Later siblings lie above earlier ones.
  std::vector<TSwayWindow> windows;
  for (auto* layer : {&walk.fullscreen, &walk.floating, &walk.tiled})
    windows.insert(windows.end(), layer->rbegin(), layer->rend());
  return windows;
}

SwayWindowSource::SwayWindowSource(std::shared_ptr<WaylandDisplay> display,
                                   std::string socket_path, TPointerPosition pointer)
    : display_(std::move(display)), socket_path_(std::move(socket_path)),
      pointer_(std::move(pointer)) {}

std::optional<std::vector<TSwayWindow>> SwayWindowSource::Windows() {
  failure_.clear();
  const std::optional<std::string> reply = AskSway(socket_path_, kSwayGetTree, failure_);
  if (!reply) return std::nullopt;
  std::optional<std::vector<TSwayWindow>> windows = SwayWindowsOfTree(*reply);
  if (!windows) failure_ = "the compositor's window tree cannot be read";
  return windows;
}

std::optional<TSwayWindow> SwayWindowSource::Find(TWindowId window) {
  std::optional<std::vector<TSwayWindow>> windows = Windows();
  if (!windows) return std::nullopt;
  for (TSwayWindow& w : *windows)
    if (w.id == window) return std::move(w);
  return std::nullopt;
}

TScreenRect SwayWindowSource::ToDevice(const TScreenRect& logical, const std::string& output) {
  for (const auto& o : display_->Outputs()) {
    if (o->name != output || o->logical_width <= 0 || o->logical_height <= 0) continue;
    const TScreenRect device = display_->DeviceRect(*o);
    const double sx = double(device.Width()) / o->logical_width;
    const double sy = double(device.Height()) / o->logical_height;
    const auto x = [&](int v) { return device.left + int(std::lround((v - o->logical_x) * sx)); };
    const auto y = [&](int v) { return device.top + int(std::lround((v - o->logical_y) * sy)); };
    return TScreenRect{x(logical.left), y(logical.top), x(logical.right), y(logical.bottom)};
  }
  return logical;  // an output not described: taken as unscaled
}

TWindowId SwayWindowSource::ActiveWindow() {
  const std::optional<std::vector<TSwayWindow>> windows = Windows();
  if (!windows) return 0;
  for (const TSwayWindow& w : *windows)
    if (w.focused) return w.id;
  return 0;
}

std::optional<TScreenRect> SwayWindowSource::OuterRect(TWindowId window) {
  const std::optional<TSwayWindow> found = Find(window);
  if (!found) return std::nullopt;
  return ToDevice(found->frame, found->output);
}

std::optional<TScreenRect> SwayWindowSource::ClientRect(TWindowId window) {
  const std::optional<TSwayWindow> found = Find(window);
  // A window in the scratchpad or behind a tab is not shown.
  if (!found || !found->visible) return std::nullopt;
  return ToDevice(found->client, found->output);
}

std::optional<TPointedWindow> SwayWindowSource::Pointed(
    const std::function<bool(const TSwayWindow&)>& under) {
  // Without the tree the pointed window is unknown, not the desktop.
  const std::optional<std::vector<TSwayWindow>> windows = Windows();
  if (!windows) return std::nullopt;
  for (const TSwayWindow& w : *windows)
    if (w.visible && w.pid != getpid() && under(w))
      return TPointedWindow{w.id, ToDevice(w.frame, w.output)};
  // Over the bare desktop: the whole desktop, as the root window on X11.
  TScreenRect desktop;
  for (const auto& o : display_->Outputs()) desktop = Union(desktop, display_->DeviceRect(*o));
  return TPointedWindow{0, desktop};
}

std::optional<TPointedWindow> SwayWindowSource::WindowUnderPointer() {
  const std::optional<std::pair<int, int>> pointer = pointer_ ? pointer_() : std::nullopt;
  if (!pointer) {
    failure_ = "where the pointer is is not known";
    return std::nullopt;
  }
  const auto [x, y] = *pointer;
  return Pointed([x, y](const TSwayWindow& w) { return w.frame.Contains(x, y); });
}

std::optional<TPointedWindow> SwayWindowSource::WindowAt(int x, int y) {
  return Pointed([&](const TSwayWindow& w) { return ToDevice(w.frame, w.output).Contains(x, y); });
}

}  // namespace vistrel
