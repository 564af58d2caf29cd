#!/usr/bin/env bash
# Installs the Debian packages the build needs, once: apt-get runs only when
# one of them is missing.
set -euo pipefail

# qt6-translations-l10n: Qt's own dialogs (file, print) in German; libxcb1-dev:
# who has the keyboard on X; libxcb-xtest0-dev and xvfb: the tests on a real
# X server.
packages=(cmake ninja-build g++ lld qt6-base-dev qt6-translations-l10n libxcb1-dev libgtest-dev libgmock-dev
          nlohmann-json3-dev libbenchmark-dev xvfb xauth libxcb-xtest0-dev locales knxd knxd-tools python3)
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

# The tests run the German locale too, to prove that parsing ignores it; they
# fail without it. The list is read whole first: grep -q ending the pipe early
# would otherwise count as "missing" under pipefail.
has_german_locale() {
  local all
  all=$(locale -a 2>/dev/null || true)
  grep -qi '^de_DE\.utf-\?8$' <<<"$all"
}
if ! has_german_locale; then
  echo "Generating the locale de_DE.UTF-8"
  if [ -f /etc/locale.gen ] && grep -q '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -qs '^de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
  has_german_locale || { echo "install-deps: de_DE.UTF-8 could not be generated" >&2; exit 1; }
fi
