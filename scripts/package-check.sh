#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it with dpkg, tries the installed
# program (version, init in both languages, a dry-run deploy), then purges it and makes sure
# nothing of it is left. Needs root; refuses when a deployer package is installed already.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "package check: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "run as root (dpkg -i and dpkg --purge)"
if dpkg-query -W -f='${Status}' deployer 2>/dev/null | grep -q "ok installed"; then
  fail "a deployer package is installed already; remove it first"
fi

package=$("$root/scripts/package.sh" | tail -n 1)
echo "Package: $package"
lintian --fail-on error,warning "$package" 2>/dev/null

work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  dpkg --purge deployer >/dev/null 2>&1 || true
}
trap cleanup EXIT

dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\.||' >"$work/contents"
for file in /usr/bin/deployer /usr/share/deployer/Settings.json /usr/share/deployer/Resources.res \
    /usr/share/deployer/Resources.ru.res /usr/share/man/man1/deployer.1.gz \
    /usr/share/doc/deployer/copyright /usr/share/doc/deployer/changelog.gz \
    /usr/share/doc/deployer/README.md /usr/share/bash-completion/completions/deployer; do
  grep -qx "$file" "$work/contents" || fail "$file is not in the package"
done

dpkg -i "$package" >/dev/null
dpkg -L deployer | sort >"$work/files"
# Minimal systems may leave manual pages and documents out (dpkg path-exclude).
for file in /usr/bin/deployer /usr/share/deployer/Settings.json /usr/share/deployer/Resources.res \
    /usr/share/deployer/Resources.ru.res; do
  [ -f "$file" ] || fail "$file was not installed"
done
if [ -f /usr/share/man/man1/deployer.1.gz ]; then
  man -w deployer >/dev/null || fail "man does not find the manual page"
fi

bash -c 'source /usr/share/bash-completion/completions/deployer &&
  complete -p deployer' >/dev/null || fail "the bash completion does not load"

version=$(/usr/bin/deployer --version)
[ "$version" = "deployer 1.24.2.1" ] || fail "--version printed '$version'"

# init in both languages: by option and from the environment.
/usr/bin/deployer init -C "$work/en" --lang en >/dev/null
LC_ALL= LC_MESSAGES= LANG=ru_RU.UTF-8 /usr/bin/deployer init -C "$work/ru" >/dev/null
cmp -s "$work/en/Settings.json" /usr/share/deployer/Settings.json || fail "init en: Settings.json"
cmp -s "$work/en/Resources.res" /usr/share/deployer/Resources.res || fail "init en: Resources.res"
cmp -s "$work/ru/Resources.res" /usr/share/deployer/Resources.ru.res || fail "init ru: Resources.res"
status=0
/usr/bin/deployer init -C "$work/en" --lang ru >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "a second init ended with status $status instead of 2"
cmp -s "$work/en/Resources.res" /usr/share/deployer/Resources.res || fail "a second init changed a file"

# A dry run prints the command lines and leaves the folder as it was.
ls -A "$work/en" >"$work/before"
(cd / && /usr/bin/deployer -C "$work/en" deploy --dry-run) >"$work/dry-run"
grep -q "wget" "$work/dry-run" || fail "the dry run printed no download: $(cat "$work/dry-run")"
ls -A "$work/en" | cmp -s - "$work/before" || fail "the dry run changed the working folder"

dpkg --purge deployer >/dev/null
dpkg-query -W deployer >/dev/null 2>&1 && fail "the package is still known to dpkg"
left=()
while read -r path; do
  [ -e "$path" ] || continue
  # Folders the package shares with the system stay.
  if [ -d "$path" ] && [ "$(ls -A "$path")" ]; then
    case $path in */deployer) left+=("$path") ;; esac
    continue
  fi
  left+=("$path")
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after purge: ${left[*]}"
echo "The package installs, works and purges cleanly."
