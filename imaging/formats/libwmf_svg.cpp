#include "imaging/formats/libwmf_svg.h"

#include <algorithm>

namespace vistrel {
namespace {

std::string WithXlinkNamespace(std::string_view svg) {
  std::size_t start = 0;
  while ((start = svg.find('<', start)) != std::string_view::npos && start + 1 < svg.size() &&
         (svg[start + 1] == '?' || svg[start + 1] == '!'))
    ++start;
  const std::size_t end = start == std::string_view::npos ? start : svg.find('>', start);
  if (end == std::string_view::npos) return std::string(svg);
  const std::string_view root = svg.substr(start, end - start);
  if (root.find("xmlns:xlink") != std::string_view::npos) return std::string(svg);
  const std::size_t name_end = std::min(root.find_first_of(" \t\r\n/"), root.size());
  std::string out(svg.substr(0, start + name_end));
  out += " xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
  out += svg.substr(start + name_end);
  return out;
}

// Each <image> without its transform attribute, not keeping the bitmap's
// proportions: a stretched bitmap fills its rectangle.
std::string StretchedImages(const std::string& svg) {
  static constexpr std::string_view kImage = "<image", kTransform = "transform=\"";
  std::string out;
  std::size_t done = 0, at = 0;
  while ((at = svg.find(kImage, at)) != std::string::npos) {
    const std::size_t tag_end = svg.find('>', at);
    if (tag_end == std::string::npos) break;
    out.append(svg, done, at + kImage.size() - done);
    out += " preserveAspectRatio=\"none\"";
    done = at + kImage.size();
    const std::size_t t = svg.find(kTransform, done);
    const std::size_t t_end = t < tag_end ? svg.find('"', t + kTransform.size()) : std::string::npos;
    if (t_end != std::string::npos && t_end < tag_end) {
      out.append(svg, done, t - done);
      done = t_end + 1;
    }
    at = tag_end;
  }
  out.append(svg, done);
  return out;
}

}  // namespace

std::string RepairLibwmfSvg(std::string_view svg) { return StretchedImages(WithXlinkNamespace(svg)); }

}  // namespace vistrel
