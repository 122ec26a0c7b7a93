#!/bin/sh
# Runs a command on a private session bus with an unlocked gnome-keyring
# in a fresh home folder, removed afterwards.
set -e
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" VISTREL_TEST_KEYRING=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- sh -c 'printf test | gnome-keyring-daemon --unlock --components=secrets >/dev/null && "$@"' sh "$@"
