# Sourced by the helper scripts. Each stops the script with one line on
# standard error instead of failing later in a way that hides the cause.

# The script's name as it is run from the top folder, such as scripts/lint.
script_name="$(basename "$(dirname "$0")")/$(basename "$0")"

# need TOOL[:PACKAGE]...: every TOOL is a command on the PATH, else name the
# Debian package (TOOL's own name when none is given) that brings it.
need() {
    local wanted tool
    for wanted in "$@"; do
        tool=${wanted%%:*}
        command -v "$tool" >/dev/null 2>&1 && continue
        echo "$script_name: $tool is missing: install the Debian package ${wanted#*:} (scripts/setup ci installs them all)" >&2
        exit 1
    done
}

# release_epoch: the date the packs record on every entry, in seconds since
# 1970: SOURCE_DATE_EPOCH when the caller sets it, else debian/changelog's.
release_epoch() {
    echo "${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -S Timestamp)}"
}

# configure PRESET: cmake --preset PRESET, quietly. A configure that failed
# would leave a cache that breaks the next run, so its build folder goes.
configure() {
    local log
    if ! log=$(cmake --preset "$1" 2>&1 </dev/null); then
        printf '%s\n' "$log" | tail -n 20 >&2
        rm -rf "build/$1"
        echo "$script_name: cmake --preset $1 failed; build/$1 removed" >&2
        exit 1
    fi
}

# apt-get as every script here runs it: as root (through sudo for a user), no
# questions and nothing read from standard input (the command after ours may
# be reading it), downloads retried, since a mirror can drop a connection.
apt_get() {
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -o Acquire::Retries=3 "$@" </dev/null
}

# apt_refresh NAME: refreshes the package lists. One index that fails (a
# mirror mid-sync) need not stop anything: the lists that did arrive usually
# hold every package, and only a failed install stops. The failure is a
# warning, under NAME, that quotes apt's own lines.
apt_refresh() {
    local log
    log=$(mktemp)
    # apt-get's own status, whether or not the caller has pipefail set.
    if apt_get update 2>&1 | tee "$log"; [ "${PIPESTATUS[0]}" -ne 0 ]; then
        echo "$1: warning: apt-get update failed; going on with the package lists it has. What failed:" >&2
        grep -E '^(E|Err):' "$log" | sed "s/^/$1:   /" >&2 || true
    fi
    rm -f "$log"
}

# cannot_install LOG: apt's own words in LOG when the archive itself cannot
# give a package, as in a transition under way in unstable; nothing else.
cannot_install() {
    grep -E "^ .* : (Depends|PreDepends|Breaks|Conflicts): .* (is not installable|is not going to be installed)|has no installation candidate|Unable to satisfy.*(Depends|dependencies)" "$1" |
        head -n 3
}

# readme_block MARKER [FILE]: the fenced block after <!-- MARKER --> in the
# README (or FILE), such as `command: run` or `file: PATH`.
readme_block() {
    local block
    block=$(awk -v marker="<!-- $1 -->" '$0 == marker { armed = 1; next }
        armed && /^```/ { if (fenced) exit; fenced = 1; next } fenced { print }' "${2:-README.md}")
    [ -n "$block" ] || { echo "$script_name: ${2:-README.md} shows no block '$1'" >&2; return 1; }
    printf '%s\n' "$block"
}

# run_block MARKER [FILE]: runs the command shown under <!-- command: MARKER -->.
run_block() {
    local commands
    commands=$(readme_block "command: $1" "${2:-README.md}") && bash -ec "$commands"
}

# skipped_tests PRESET: how many tests skipped themselves in PRESET's last
# test run, and their names: GoogleTest's "[  SKIPPED ] Suite.Case (N ms)"
# line for each in CTest's full log, whether CTest ran the case alone or
# with the rest of its program (under wine).
skipped_tests() {
    sed -n 's/^\[  SKIPPED \] \([^ ]*\) ([0-9]* ms).*/\1/p' "build/$1/Testing/Temporary/LastTest.log" |
        sort -u | awk '{ names = names " " $0 } END { print NR " skipped" (NR ? ":" names : "") }'
}
