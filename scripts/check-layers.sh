#!/usr/bin/env bash
# The layering check: a library includes only its own headers and those of
# the libraries it may use. Which those are is read from the layer table in
# CONTRIBUTING.md, the rows "| `dir/folder` | what it holds | uses |". A uses cell
# names libraries by their folder's last name, says "nothing", or "all of the
# above" (every row before it). Uses is transitive: a library may include
# what the libraries it uses may include. An include "x/..." refers to a
# library when x is the last name of a table folder under src/.
set -euo pipefail
cd "$(dirname "$0")/.."
table=$(grep -E '^\| *`[^`]*/[^`]*` *\|' CONTRIBUTING.md || true)
if [ -z "$table" ]; then
  echo 'CONTRIBUTING.md has no layer table' >&2
  exit 1
fi
tracked=$(git ls-files -- '*.c' '*.cpp' '*.h' '*.hpp' '*.in')
printf '%s\n' "$table" | awk -F'|' -v tracked="$tracked" '
function trim(s) { gsub(/^[ \t`]+|[ \t`]+$/, "", s); return s }
function lastName(path,   n, parts) { n = split(path, parts, "/"); return parts[n] }
{
  folder[NR] = trim($2); name[NR] = lastName(folder[NR]); uses[NR] = tolower($4)
  row[name[NR]] = NR
  if (folder[NR] ~ /^src\//) library[name[NR]] = 1
}
END {
  rows = NR
  for (r = 1; r <= rows; r++) if (system("test -d \"" folder[r] "\"") != 0) { printf "CONTRIBUTING.md: the layer table lists %s, which does not exist\n", folder[r] > "/dev/stderr"; bad = 1 }
  for (r = 1; r <= rows; r++) {
    if (uses[r] ~ /all of the above/) {
      for (p = 1; p < r; p++) direct[r, name[p]] = 1
      continue
    }
    cell = uses[r]; gsub(/[^a-z0-9_]+/, " ", cell)
    n = split(cell, words, " ")
    for (w = 1; w <= n; w++) {
      if (words[w] == "nothing" || words[w] == "only" || words[w] == "and") continue
      if (!(words[w] in row)) { printf "CONTRIBUTING.md: %s uses \"%s\", which has no row\n", folder[r], words[w] > "/dev/stderr"; bad = 1; continue }
      direct[r, words[w]] = 1
    }
  }
  # The transitive closure, over the rows in any order.
  for (r = 1; r <= rows; r++) { for (k in row) if ((r, k) in direct) may[r, k] = 1; may[r, name[r]] = 1 }
  do {
    changed = 0
    for (r = 1; r <= rows; r++) for (k in row) if ((r, k) in may) for (j in row) if ((row[k], j) in may && !((r, j) in may)) { may[r, j] = 1; changed = 1 }
  } while (changed)

  nfiles = split(tracked, files, "\n")
  for (f = 1; f <= nfiles; f++) {
    file = files[f]; owner = 0
    for (r = 1; r <= rows; r++) if (index(file, folder[r] "/") == 1 && (owner == 0 || length(folder[r]) > length(folder[owner]))) owner = r
    if (owner == 0) {
      if (file ~ /^src\/[^\/]+\//) { split(file, parts, "/"); if (!(parts[2] in unlisted)) { unlisted[parts[2]] = 1; printf "src/%s has no row in the layer table of CONTRIBUTING.md\n", parts[2] > "/dev/stderr"; bad = 1 } }
      continue
    }
    line = 0
    while ((getline text < file) > 0) {
      line++
      if (text !~ /^[ \t]*#[ \t]*include[ \t]*["<][^">\/]+\//) continue
      included = text; sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", included); sub(/\/.*/, "", included)
      if ((included in library) && !((owner, included) in may)) {
        printf "%s:%d: %s may not include %s (layer table in CONTRIBUTING.md)\n", file, line, folder[owner], included > "/dev/stderr"
        bad = 1
      }
    }
    close(file)
  }
  exit bad
}'

# The utility window's packages, by the package table of CONTRIBUTING.md: the
# rows "| `package` | what it holds | uses |", "(root)" for the entry points.
# A class names another package only when its row uses that package, directly
# or through the packages it uses.
java_root=java/utilitywindow/src/com/tavisto/launcher/utility
declare -A uses=()
while IFS='|' read -r _ package _ used _; do
  package=$(tr -d '` ' <<<"$package")
  uses[$package]=$(tr -c 'a-z\n' ' ' <<<"${used,,}" | sed -E 's/\b(nothing|and)\b//g')
done < <(grep -E '^\| *(`[a-z]+`|\(root\)) *\|' CONTRIBUTING.md)
reachable() { # package target: does package reach target through uses?
  local next
  for next in ${uses[$1]}; do
    [ "$next" = "$2" ] && return 0
    reachable "$next" "$2" && return 0
  done
  return 1
}
java_bad=0
while IFS= read -r file; do
  relative=${file#"$java_root"/}
  package=${relative%%/*}
  [ "$package" = "$relative" ] && package='(root)'
  if [ -z "${uses[$package]+set}" ]; then
    echo "$file: package $package has no row in the package table of CONTRIBUTING.md" >&2
    java_bad=1
    continue
  fi
  for named in $(grep -oE 'com\.tavisto\.launcher\.utility\.[a-z]+\.' "$file" | cut -d. -f5 | sort -u); do
    [ "$named" = "$package" ] || reachable "$package" "$named" || {
      echo "$file: package $package may not use $named (package table in CONTRIBUTING.md)" >&2
      java_bad=1
    }
  done
done < <(git ls-files "$java_root")
exit $java_bad
