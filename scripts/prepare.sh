# Sourced by the top-level scripts: installs what is missing, builds the given
# architecture (x64, x86 or all) and loads the Wine environment of build/x64.
# Sets root and build.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$1"
build=$root/build/x64
. "$root/scripts/wine-env.sh"
