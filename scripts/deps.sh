#!/usr/bin/env bash
# Installs the Debian packages listed in packages.txt (or in the list given as $1) that
# are missing. Quiet and quick when everything is present; names the package that fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
list=${1:-$here/packages.txt}
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$list")

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "deps: not root and no sudo; install these packages: ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || { echo "deps: apt-get update failed" >&2; exit 1; }
if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/orvellin-deps.log 2>&1; then
  # Try one by one so the message names the package that cannot be installed.
  for pkg in "${missing[@]}"; do
    if ! $sudo apt-get install -y -qq --no-install-recommends "$pkg" >>/tmp/orvellin-deps.log 2>&1; then
      echo "deps: cannot install Debian package '$pkg' (see /tmp/orvellin-deps.log)" >&2
      exit 1
    fi
  done
fi
exit 0
