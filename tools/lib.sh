# shellcheck shell=bash
# Sourced first by the scripts in tools/ that build or run Tidymoth: strict
# mode, the repository as $root and the working directory, the Wine
# architecture helpers (tools/wine-arch.sh) and the build step they share.
# wine-env.sh and wine-run.sh do without it: they run commands in the caller's
# directory, and keep going past a failed step to report its exit code.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
# shellcheck source=tools/wine-arch.sh
. tools/wine-arch.sh

# Configures a CMake preset (quietly) and builds it; further arguments go to
# the build, e.g. --target.
build_preset() {
    local preset="$1"
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" "$@"
}
