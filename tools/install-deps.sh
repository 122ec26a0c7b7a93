#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all present already.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins
  libgl-dev libxkbcommon-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev libtiff-dev libgif-dev libopenjp2-7-dev
  libwmf-dev libemf2svg-dev librsvg2-dev
  libdeflate-dev
  libxcb1-dev libxcb-shm0-dev libxcb-xfixes0-dev libxcb-randr0-dev libxcb-keysyms1-dev
  libxcb-icccm4-dev libxcb-ewmh-dev libxcb-xinput-dev
  libasound2-dev libcups2-dev libssl-dev libsecret-1-dev
  # Wayland: the client library, protocol descriptions and their code
  # generator, JSON for sway's IPC, Qt's Wayland plugin
  libwayland-dev libwayland-bin wayland-protocols nlohmann-json3-dev qt6-wayland
  # tests: unit, widget and end-to-end
  googletest libgtest-dev libgmock-dev
  xvfb xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-utils
  xdotool xclip openbox tint2 hsetroot imagemagick pngcheck
  cups printer-driver-cups-pdf poppler-utils python3-aiosmtpd
  # a desktop notification service on a private session bus
  dbus-daemon python3-dbus python3-gi
  # a headless Wayland desktop, its backgrounds and its reference screenshots;
  # its desktop portal (the wlroots one needs PipeWire, the GTK one answers
  # the portal's permission questions)
  sway swaybg grim
  xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire
  # a window that changes colour under the frozen desktop
  python3-tk
  # a Secret Service for the mail password tests; certificates for the TLS ones
  gnome-keyring dbus-bin openssl
  # fuzzing and benchmarks
  clang libclang-rt-14-dev scrot maim libvips-tools
  # shortcuts: the user's desktop folder; checking the entries written
  xdg-user-dirs desktop-file-utils
  # install and package: icons, manual pages, checking the desktop metadata
  # and the package
  librsvg2-bin help2man appstream man-db dpkg-dev file lintian
  # mail: the hand-off to the desktop's mail program; curl as a benchmark peer
  xdg-utils curl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
