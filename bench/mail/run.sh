#!/usr/bin/env bash
# Mailing a 3840 x 2160 BMP to aiosmtpd on loopback: the program's SMTP
# client against Python's email with smtplib and curl with pre-built bytes;
# then over STARTTLS with a login against curl --ssl-reqd --user.
#   bench/mail/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
bench="$build/bench/mail_bench"
[ -x "$bench" ] || { echo "build first: $bench is missing" >&2; exit 1; }
python3 "$here/mail_peers.py" "$bench" "${2:-7}"
python3 "$here/tls_peers.py" "$bench" "${2:-7}"
