#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/debian-packages.txt that are
# not installed yet, and generates the locales the tests run under
# (de_DE.UTF-8 for the German window, en_US.UTF-8 for the screenshots).
# Idempotent: when everything is present it only checks and returns. Uses
# sudo when not run as root.
set -euo pipefail
cd "$(dirname "$0")"

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' debian-packages.txt | grep -v '^$')
missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing ${#missing[@]} Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# glibc knows a locale only once it is generated; a fresh Debian has C.UTF-8.
locales=(de_DE.UTF-8 en_US.UTF-8)
absent=()
for wanted in "${locales[@]}"; do
    name=$(tr '[:upper:]' '[:lower:]' <<<"${wanted/UTF-8/utf8}")
    locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qxF "$name" || absent+=("$wanted")
done
if [[ ${#absent[@]} -gt 0 ]]; then
    echo "Generating locales: ${absent[*]}"
    for wanted in "${absent[@]}"; do
        # Uncomment the line in /etc/locale.gen, or add it.
        if grep -qE "^#? *${wanted//./\\.} UTF-8" /etc/locale.gen 2>/dev/null; then
            "${sudo[@]}" sed -i -E "s/^# *(${wanted//./\\.} UTF-8)/\\1/" /etc/locale.gen
        else
            echo "$wanted UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
        fi
    done
    "${sudo[@]}" locale-gen >/dev/null
fi
