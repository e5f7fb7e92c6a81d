#!/usr/bin/env bash
# Rolls deployer out with ansible/rollout.yml to a fleet of twelve servers simulated on this
# machine, and checks what each server ran. Each server is an inventory host reached with
# ansible_connection=local, with its own working folder, component folders, records file and
# loopback HTTP site (python3 -m http.server) serving archives built here with tar; the scripts
# inside them record their arguments. The site also answers the health address (a file that
# ws_updapp.sh removes when it applies the bad patch 24.2.0.10 and puts back for any other).
# The playbook runs in its own batches, one server and then a quarter of the fleet at a time.
# wget, tar and bash are the real ones.
#
#   tests/ansible/run.sh [PROGRAM | BUILD_FOLDER] [PACKAGE.deb]
#
# PROGRAM is the deployer binary to roll out (a build folder means its deployer); without one the
# installed /usr/bin/deployer is used. The role's package step is skipped for these. With a
# package file (scripts/package.sh builds one; needs root) one more server has the role install
# it and deploys with /usr/bin/deployer; the package is removed again afterwards unless it was
# installed before. FLEET_KEEP=1 keeps the fleet's folder (ansible.log holds every playbook
# output). Ends with "fleet: N passed, M failed" (", K skipped" when ansible-lint is missing) and
# exits with status 1 when a case failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:-/usr/bin/deployer}
[ -d "$program" ] && program=$program/deployer
if [ ! -x "$program" ]; then
  echo "fleet: no deployer program at $program"
  exit 2
fi
program=$(realpath "$program")
deb=${2:+$(realpath "$2")}

# Debian's own packages: ansible-core is needed; ansible-lint is installed along with it as root,
# and its case is skipped (and counted so) where it is missing.
if ! command -v ansible-playbook >/dev/null || ! command -v ansible-lint >/dev/null; then
  if [ "$(id -u)" = 0 ]; then
    apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ansible-core ansible-lint >/dev/null
  elif ! command -v ansible-playbook >/dev/null; then
    echo "fleet: ansible-playbook is missing; as root run: apt-get install -y ansible-core"
    exit 2
  fi
fi

# Debian's python3, which has the apt module that the package case needs.
python=/usr/bin/python3
[ -x $python ] || python=$(command -v python3)

fleet=$(mktemp -d)
servers=(server1 server2 server3 server4 server5 server6 server7 server8 server9 server10
  server11 server12)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  if [ -n "${FLEET_KEEP:-}" ]; then echo "fleet: kept $fleet"; else rm -rf "$fleet"; fi
}
trap cleanup EXIT
export ANSIBLE_NOCOLOR=1 ANSIBLE_LOCAL_TEMP=$fleet/.ansible ANSIBLE_REMOTE_TMP=$fleet/.ansible
export ANSIBLE_HOME=$fleet/.ansible ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0
export ROLLOUT_SUMMARY=$fleet/rollout-summary.json
unset ANSIBLE_CONFIG

passed=0
failed=0
skipped=0
# A case is begin NAME, any number of expect CONDITION [DETAIL], then end; a condition is shell
# text evaluated at once, and the detail is printed when it does not hold.
case_name=""
case_ok=1
begin() {
  case_name=$1
  case_ok=1
}
expect() {
  if ! eval "$1"; then
    case_ok=0
    echo "  FAILED in '$case_name': $1" >&2
    [ $# -gt 1 ] && printf '%s\n' "$2" | sed 's/^/    /' >&2
  fi
}
end() {
  if [ $case_ok = 1 ]; then
    passed=$((passed + 1))
    echo "ok   $case_name"
  else
    failed=$((failed + 1))
    echo "FAIL $case_name"
  fi
}

# A bash script at $1 that appends "$2 [arg]..." to the records file $3 and then runs $4.
recording_script() {
  cat >"$1" <<SCRIPT
#!/bin/bash
line='$2'
for argument in "\$@"; do line+=" [\$argument]"; done
printf '%s\n' "\$line" >> '$3'
${4:-}
SCRIPT
  chmod 755 "$1"
}

# The web server's install.sh also makes the instance's control folder (web_PORT/ctl beside the
# unpacked folder) with the application scripts that the archive carries.
web_server_install='port=8080
while [ $# -gt 0 ]; do [ "$1" = -p ] && port=$2; shift; done
control="$(dirname "$0")/../web_$port/ctl"
mkdir -p "$control/tar_files" && cp "$(dirname "$0")"/ctl/ws_*.sh "$control/"'

# Builds the served archives and patches of one server.
build_site() {
  local site=$fleet/$1 records=$fleet/$1/records.txt stage=$fleet/$1/stage
  mkdir -p "$stage/runtime-1.0" "$stage/vaq-web/ctl" "$site/served/patches" "$site/docker" \
    "$site/web"
  : >"$records"
  recording_script "$stage/runtime-1.0/install.sh" runtime-1.0/install.sh "$records"
  recording_script "$stage/runtime-1.0/uninstall.sh" runtime-1.0/uninstall.sh "$records"
  recording_script "$stage/vaq-web/install.sh" vaq-web/install.sh "$records" "$web_server_install"
  recording_script "$stage/vaq-web/uninstall.sh" vaq-web/uninstall.sh "$records"
  for script in ws_addapp.sh ws_delapp.sh; do
    recording_script "$stage/vaq-web/ctl/$script" "$script" "$records"
  done
  recording_script "$stage/vaq-web/ctl/ws_updapp.sh" ws_updapp.sh "$records" \
    "case \"\$*\" in *app-24.2.0.10.sh*) rm -f '$site/served/health' ;;
  *) touch '$site/served/health' ;; esac"
  touch "$site/served/health"
  tar -C "$stage" -czf "$site/served/runtime-1.0.tar.gz" runtime-1.0
  tar -C "$stage" -czf "$site/served/vaq-web_d2.tar.gz" vaq-web
  for version in 24.2.0.7 24.2.0.8 24.2.0.9 24.2.0.10; do
    printf 'echo patch %s\n' "$version" >"$site/served/patches/app-$version.sh"
  done
}

# Starts the server's HTTP site on a free port and sets port_<server>.
serve() {
  local site=$fleet/$1 port=""
  python3 -u -m http.server --bind 127.0.0.1 0 --directory "$site/served" >"$site/http.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\).*/\1/p' "$site/http.log" 2>/dev/null)
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { echo "fleet: the site of $1 did not start" >&2; exit 2; }
  printf -v "port_$1" '%s' "$port"
}

sha256() { sha256sum "$1" | cut -c1-64; }

# Writes the inventory: every server deploys patch $1, except server2 which deploys $2 (given as
# deployer_host_settings when it differs). The runtime archive and the patch are given with their
# checksums; the web server archive without, so that a broken one fails where tar unpacks it.
inventory() {
  {
    echo "fleet:"
    echo "  vars:"
    echo "    ansible_connection: local"
    # The playbook becomes root; the test runs as root, where su asks for no password.
    echo "    ansible_become_method: su"
    echo "    ansible_python_interpreter: $python"
    echo "    deployer_program: $program"
    echo "    deployer_package: \"${package:-}\""
    echo "    deployer_package_folder: $fleet/packages"
    echo "    deployer_action: ${action:-deploy}"
    echo "  hosts:"
    local n=0 server port version
    for server in "${servers[@]}"; do
      n=$((n + 1))
      port=port_$server
      version=$1
      cat <<HOST
    $server:
      deployer_directory: $fleet/$server/app
      deployer_settings:
        Docker/Url: http://127.0.0.1:${!port}/runtime-1.0.tar.gz
        Docker/Path: $fleet/$server/docker/
        WebServer/Url: http://127.0.0.1:${!port}/vaq-web_d2.tar.gz
        WebServer/Path: $fleet/$server/web/
        WebServer/Type: nginx
        WebServer/Port: $((18100 + n))
        WebServer/DebugPort: 8000
        Patch/Url: http://127.0.0.1:${!port}/patches
        Patch/Template: app-*.sh
        Patch/Version: "$version"
        Docker/Sha256: $(sha256 "$fleet/$server/served/runtime-1.0.tar.gz")
        Patch/Sha256: $(sha256 "$fleet/$server/served/patches/app-$version.sh")
        Install/ComplexId: CX$n
        Install/Port: $((19100 + n))
        Install/HealthUrl: http://127.0.0.1:${!port}/health
        Install/HealthTimeout: 1
        Install/Catalog: main
        Connection/Type: 1
        Connection/Server: db.local
        Connection/Base: appdb
HOST
    [ $server = server2 ] && [ "$2" != "$1" ] &&
      printf '      deployer_host_settings:\n%s\n%s\n' "        Patch/Version: \"$2\"" \
        "        Patch/Sha256: $(sha256 "$fleet/$server/served/patches/app-$2.sh")"
  done
  } >"$fleet/inventory.yml"
}

# Runs the playbook with the extra arguments; keeps its output in $output and status in $status.
rollout() {
  output=$(ansible-playbook -i "$fleet/inventory.yml" "$root/ansible/rollout.yml" "$@" 2>&1)
  status=$?
  printf '%s\n' "$output" >>"$fleet/ansible.log"
}

# The value of a counter (changed, failed, ...) in the recap line of a server, "" when absent.
recap() {
  printf '%s\n' "$output" | sed -n "s/^$1 *:.* $2=\([0-9]*\).*/\1/p"
}

# The version that the server's own status reports as deployed ("None" for none).
deployed_version() {
  "$program" -C "$fleet/$1/app" status --json |
    $python -c 'import json, sys; print(json.load(sys.stdin)["deployed_version"])'
}
records() { cat "$fleet/$1/records.txt" 2>/dev/null; }
clear_records() { for server in "${servers[@]}"; do : >"$fleet/$server/records.txt"; done; }
fingerprints() {
  for server in "${servers[@]}"; do
    find "$fleet/$server" -path "$fleet/$server/served" -prune -o -path "$fleet/$server/stage" \
      -prune -o -name http.log -prune -o -type f -print0 | sort -z | xargs -0 -r sha256sum
  done
}

# The records of a complete deploy of patch $2 on server number $1.
deployed() {
  local database="[-sn] [db.local] [-dn] [appdb]"
  printf '%s\n' "runtime-1.0/install.sh" \
    "vaq-web/install.sh [-ws] [nginx] [-p] [$((18100 + $1))] [-cs] [docker] [-pp] [8000] [-l] [ru_RU.utf8]" \
    "ws_addapp.sh [-t] [CX$1] [-a] [app-$2.sh] [-p] [$((19100 + $1))] [-vc] [main] [-st] [1] $database"
}

started=$(date +%s)
for server in "${servers[@]}"; do
  build_site $server
  serve $server
done
inventory 24.2.0.7 24.2.0.7

begin "the playbook passes the syntax check"
output=$(ansible-playbook --syntax-check -i "$fleet/inventory.yml" "$root/ansible/rollout.yml" 2>&1)
expect '[ $? = 0 ]' "$output"
end

if command -v ansible-lint >/dev/null; then
  begin "the playbook and the role pass ansible-lint's production profile"
  output=$(cd "$root/ansible" &&
    ansible-lint --offline --profile production -p rollout.yml roles/deployer 2>&1)
  expect '[ $? = 0 ]' "$output"
  end
else
  skipped=$((skipped + 1))
  echo "skip the playbook and the role pass ansible-lint's production profile (no ansible-lint)"
fi

begin "--check on a new fleet shows the dry-run lines and the settings, and creates nothing"
before=$(fingerprints)
rollout --check --diff
expect '[ $status = 0 ]' "$output"
for server in "${servers[@]}"; do
  expect "[ ! -e '$fleet/$server/app' ] && [ -z \"\$(records $server)\" ]" \
    "$server: $(records $server)"
done
expect '[ "$(fingerprints)" = "$before" ]'
expect 'grep -q "wget http://127.0.0.1:$port_server2/vaq-web_d2.tar.gz" <<<"$output"' "$output"
expect 'grep -q "^+Patch/Version=24.2.0.7" <<<"$output"' "$output"
end

begin "the first run deploys every server"
rollout_started=$(date +%s.%N)
rollout
echo "fleet: the first rollout to ${#servers[@]} servers took $(printf '%.1f' \
  "$(echo "$(date +%s.%N) - $rollout_started" | bc)") s"
expect '[ $status = 0 ]' "$output"
n=0
for server in "${servers[@]}"; do
  n=$((n + 1))
  expect "[ \"\$(records $server)\" = \"\$(deployed $n 24.2.0.7)\" ]" "$server: $(records $server)"
  expect "[ \"\$(recap $server changed)\" -gt 0 ]" "$output"
  expect "[ \"\$(deployed_version $server)\" = 24.2.0.7 ]" "$server: $(deployed_version $server)"
  expect "[ \"\$('$program' -C '$fleet/$server/app' get Patch/Sha256)\" = \
    \"\$(sha256 '$fleet/$server/served/patches/app-24.2.0.7.sh')\" ]"
done
end

begin "a second run with the same variables changes nothing"
clear_records
rollout
expect '[ $status = 0 ]' "$output"
for server in "${servers[@]}"; do
  expect "[ \"\$(recap $server changed)\" = 0 ] && [ -z \"\$(records $server)\" ]" \
    "$server: $(records $server)"
done
expect '[ $(grep -c "ok=" <<<"$output") = ${#servers[@]} ]' "$output"
end

begin "a changed variable of one server changes only that server"
inventory 24.2.0.7 24.2.0.8
clear_records
rollout --diff
expect '[ $status = 0 ]' "$output"
for server in "${servers[@]}"; do
  [ $server = server2 ] && continue
  expect "[ \"\$(recap $server changed)\" = 0 ] && [ -z \"\$(records $server)\" ]" \
    "$server: $(records $server)"
done
expect '[ "$(recap server2 changed)" -gt 0 ]' "$output"
expect '[ "$(records server2)" = "$(deployed 2 24.2.0.8)" ]' "$(records server2)"
expect 'grep -q "^-Patch/Version=24.2.0.7" <<<"$output"' "$output"
expect 'grep -q "^+Patch/Version=24.2.0.8" <<<"$output"' "$output"
end

begin "a server whose web server folder was removed is deployed again, and only that one"
rm -rf "$fleet/server3/web"
mkdir "$fleet/server3/web"
clear_records
rollout
expect '[ $status = 0 ]' "$output"
for server in "${servers[@]}"; do
  [ $server = server3 ] && continue
  expect "[ \"\$(recap $server changed)\" = 0 ] && [ -z \"\$(records $server)\" ]" \
    "$server: $(records $server)"
done
expect '[ "$(recap server3 changed)" -gt 0 ]' "$output"
expect '[ "$(records server3)" = "$(deployed 3 24.2.0.7)" ]' "$(records server3)"
expect 'grep -q "the web server is missing" <<<"$output"' "$output"
end

begin "--check with a new version for every server shows the dry-run lines and changes nothing"
inventory 24.2.0.9 24.2.0.9
clear_records
before=$(fingerprints)
rollout --check
expect '[ $status = 0 ]' "$output"
expect '[ "$(fingerprints)" = "$before" ]'
for server in "${servers[@]}"; do
  expect "[ -z \"\$(records $server)\" ] && [ \"\$(recap $server changed)\" -gt 0 ]" "$output"
done
expect 'grep -q "ws_addapp.sh.*app-24.2.0.9.sh" <<<"$output"' "$output"
patch_sum=$(sha256 "$fleet/server3/served/patches/app-24.2.0.9.sh")
expect 'grep -q "# sha256 .*app-24.2.0.9.sh must be $patch_sum" <<<"$output"' "$output"
end

begin "an update whose patch fails the health check is rolled back on the first server and stops"
action=update inventory 24.2.0.10 24.2.0.10
clear_records
others_before=$(fingerprints | grep -v /server1/)
rollout
expect '[ $status != 0 ] && [ "$(recap server1 failed)" = 1 ]' "$output"
expect '[ "$(records server1)" = "$(printf "%s\n" \
  "ws_updapp.sh [-s] [http://127.0.0.1:$port_server1/patches] [-a] [app-24.2.0.10.sh] \
[-t] [CX1] [-p] [19101]" "ws_updapp.sh [-s] [http://127.0.0.1:$port_server1/patches] \
[-a] [app-24.2.0.7.sh] [-t] [CX1] [-p] [19101]")" ]' "$(records server1)"
expect '[ "$(deployed_version server1)" = 24.2.0.7 ]' "$(deployed_version server1)"
expect '[ "$("$program" -C "$fleet/server1/app" get Patch/Version)" = 24.2.0.7 ]'
for server in "${servers[@]}"; do
  [ $server = server1 ] && continue
  expect "[ -z \"\$(recap $server ok)\" ] && [ -z \"\$(records $server)\" ]" "$output"
done
expect '[ "$(fingerprints | grep -v /server1/)" = "$others_before" ]'
expect 'grep -q "^fleet: 0 ok, 1 failed, 11 skipped, 0 unreachable" <<<"$output"' "$output"
expect '$python - "$ROLLOUT_SUMMARY" <<PYTHON
import json, sys
hosts = json.load(open(sys.argv[1]))["hosts"]
first = hosts["server1"]
assert first["result"] == "failed" and first["rolled_back"], first
assert first["version_before"] == first["version_after"] == "24.2.0.7", first
assert all(hosts[name]["result"] == "skipped" for name in hosts if name != "server1"), hosts
PYTHON' "$(cat "$ROLLOUT_SUMMARY")"
cp "$ROLLOUT_SUMMARY" "$fleet/rollout-summary.bad-patch.json"
end

begin "--check refuses a malformed value as set does, and changes nothing"
before=$(fingerprints)
rollout --check --diff --limit server4 -e '{"deployer_host_settings": {"WebServer/Port": "http"}}'
expect '[ $status != 0 ] && grep -q "deployer set failed with status 2" <<<"$output"' "$output"
expect '[ "$(fingerprints)" = "$before" ]'
end

begin "a broken archive on the second server stops the rollout there"
inventory 24.2.0.9 24.2.0.9
printf 'not an archive\n' >"$fleet/server2/served/vaq-web_d2.tar.gz"
clear_records
later=(server5 server6 server7 server8 server9 server10 server11 server12)
later_before=$(fingerprints | grep -v -E '/server[1-4]/')
rollout
expect '[ $status != 0 ]' "$output"
expect '[ "$(records server1)" = "$(deployed 1 24.2.0.9)" ]' "$(records server1)"
expect '[ "$(recap server1 failed)" = 0 ] && [ "$(recap server2 failed)" = 1 ]' "$output"
expect 'grep -q "deployer deploy failed with status 1: Web server unpacking failed, code" \
  <<<"$output"' "$output"
expect '[ "$(records server2)" = "runtime-1.0/install.sh" ]' "$(records server2)"
expect '[ "$(deployed_version server2)" = 24.2.0.8 ]' "$(deployed_version server2)"
for server in "${later[@]}"; do
  expect "[ -z \"\$(recap $server ok)\" ] && [ -z \"\$(records $server)\" ]" "$output"
done
expect '[ "$(fingerprints | grep -v -E "/server[1-4]/")" = "$later_before" ]'
end

begin "a package name that apt lacks needs the program on the server, and says so"
rollout --limit server3 -e deployer_package=deployer-absent-from-apt
expect '[ $status = 0 ] && [ "$(recap server3 changed)" = 0 ]' "$output"
rollout --limit server3 -e deployer_package=deployer-absent-from-apt -e deployer_program=/absent
expect '[ $status != 0 ] && grep -q "apt has no package deployer-absent-from-apt" <<<"$output"' \
  "$output"
end

begin "delete on one server removes its installation with --yes, and only once"
clear_records
rollout --limit server1 -e deployer_action=delete
expect '[ $status = 0 ] && [ "$(recap server1 changed)" -gt 0 ]' "$output"
expect '[ "$(records server1)" = "$(printf "%s\n" "ws_delapp.sh [-p] [19101]" \
  "vaq-web/uninstall.sh [-p] [18101]" runtime-1.0/uninstall.sh)" ]' "$(records server1)"
clear_records
rollout --limit server1 -e deployer_action=delete
expect '[ $status = 0 ] && [ "$(recap server1 changed)" = 0 ] && [ -z "$(records server1)" ]' \
  "$output"
end

if [ -n "$deb" ]; then
  begin "the role installs the package file, deploys with the installed program, then only once"
  installed_before=$(dpkg-query -W -f '${Status}' deployer 2>/dev/null)
  servers=(packaged)
  build_site packaged
  serve packaged
  program=/usr/bin/deployer package=$deb inventory 24.2.0.7 24.2.0.7
  rollout
  expect '[ $status = 0 ] &&
    [ "$(dpkg-query -W -f "\${Status}" deployer)" = "install ok installed" ]' \
    "$output"
  expect '[ "$(records packaged)" = "$(deployed 1 24.2.0.7)" ]' "$(records packaged)"
  clear_records
  rollout
  expect '[ $status = 0 ] && [ "$(recap packaged changed)" = 0 ] && [ -z "$(records packaged)" ]' \
    "$output"
  [ "$installed_before" = "install ok installed" ] || apt-get remove -y -qq deployer >/dev/null
  end
fi

echo "fleet: run time $(($(date +%s) - started)) s"
echo "fleet: $passed passed, $failed failed$([ $skipped = 0 ] || echo ", $skipped skipped")"
[ $failed = 0 ]
