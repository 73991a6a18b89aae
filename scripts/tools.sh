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
