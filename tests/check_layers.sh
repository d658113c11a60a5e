#!/bin/sh
# The includes of src/ go one way, at two scales.
# Folders: lib/core, then lib/services, then settings, then loglist, then dialogs, then cut and dragdrop
# side by side (both may use dialogs, neither the other), then app. A file may include headers of its
# own folder, of the folders below it and of resources/. lib/ itself, the exported functions, wraps
# lib/core and lib/services for other programs: nothing else includes it.
# Units: a .h and its .cpp are one unit, which depends on every unit whose header it includes; no
# unit may depend on itself through others. Every cycle found is printed, unit -> unit.
#   check_layers.sh SRC_DIR
set -eu
src=${1%/}
rank() {
    case $1 in
    lib/core) echo 0 ;; lib/services) echo 1 ;; lib) echo 2 ;; settings) echo 3 ;; loglist) echo 4 ;;
    dialogs) echo 5 ;; cut | dragdrop) echo 6 ;; app) echo 7 ;; *) echo none ;;
    esac
}
status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

# "file included" for every include of a header of src/, paths relative to src/.
(cd "$src" && find . -path ./resources -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print) | sed 's|^\./||' |
    sort | while read -r file; do
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$src/$file" | while read -r used; do
            [ -f "$src/$used" ] && echo "$file $used"
        done
    done >"$edges"

for folder in $(cut -d' ' -f1 "$edges" | xargs -n1 dirname | sort -u); do
    own=$(rank "$folder")
    if [ "$own" = none ]; then
        echo "$folder has no place among the layers: give it a rank in tests/check_layers.sh"
        status=1
        continue
    fi
    for used in $(awk -v f="$folder" '{ d = $1; sub(/\/[^\/]*$/, "", d); if (d == f) print $2 }' "$edges" |
        xargs -n1 dirname | sort -u); do
        [ "$used" = "$folder" ] || [ "$used" = resources ] && continue
        r=$(rank "$used")
        if [ "$r" = none ] || [ "$r" -ge "$own" ] || [ "$used" = lib ]; then
            why=""
            [ "$used" = lib ] && why=" (the exported functions: use what they wrap, in lib/core or lib/services)"
            echo "$folder includes $used$why:"
            awk -v f="$folder" -v u="$used" '{ d = $1; sub(/\/[^\/]*$/, "", d); e = $2; sub(/\/[^\/]*$/, "", e)
                if (d == f && e == u) print "    " $1 " -> " $2 }' "$edges"
            status=1
        fi
    done
done

# Units and the cycles between them: a depth-first walk that reports each edge back to a unit still
# on its path, with the path from that unit on.
cycles=$(awk '
    function unit(path) { sub(/\.(h|cpp)$/, "", path); return path }
    function walk(u,    i, v, k, line) {
        state[u] = 1
        path[++depth] = u
        for (i = 1; i <= count[u]; ++i) {
            v = next_[u, i]
            if (state[v] == 1) {
                line = ""
                for (k = depth; k >= 1 && path[k] != v; --k) line = " -> " path[k] line
                print v line " -> " v
            } else if (state[v] == 0) {
                walk(v)
            }
        }
        --depth
        state[u] = 2
    }
    {
        a = unit($1); b = unit($2)
        if (a == b || seen[a, b]++) next
        next_[a, ++count[a]] = b
        if (!(a in known)) { known[a] = 1; order[++units] = a }
        if (!(b in known)) { known[b] = 1; order[++units] = b }
    }
    END { for (n = 1; n <= units; ++n) if (state[order[n]] == 0) walk(order[n]) }
' "$edges")
if [ -n "$cycles" ]; then
    echo "include cycles between units:"
    echo "$cycles" | sed 's/^/    /'
    status=1
fi
exit $status
