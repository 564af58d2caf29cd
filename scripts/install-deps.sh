#!/usr/bin/env bash
# Installs the Debian packages the build needs, once: apt-get runs only when
# one of them is missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev nlohmann-json3-dev libbenchmark-dev xvfb xauth locales)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The tests run the German locale too, to prove that parsing ignores it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
