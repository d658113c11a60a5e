#!/bin/sh
# The folders of src/ depend one way: lib, then settings, then loglist, then dialogs, then cut and
# dragdrop side by side (both may use dialogs, neither the other), then app. A file may include
# headers of its own folder, of the folders below it and of resources/.
#   check_layers.sh SRC_DIR
set -eu
src=$1
rank() {
    case $1 in
    lib) echo 0 ;; settings) echo 1 ;; loglist) echo 2 ;; dialogs) echo 3 ;;
    cut | dragdrop) echo 4 ;; app) echo 5 ;; *) echo 9 ;;
    esac
}
status=0
for folder in lib settings loglist dialogs cut dragdrop app; do
    own=$(rank "$folder")
    for used in $(grep -ho '#include "[a-z_]*/' "$src/$folder"/* | sed 's/#include "//; s|/||' | sort -u); do
        [ "$used" = "$folder" ] || [ "$used" = resources ] && continue
        if [ "$(rank "$used")" -ge "$own" ]; then
            echo "$folder includes $used:"
            grep -l "#include \"$used/" "$src/$folder"/* | sed 's/^/    /'
            status=1
        fi
    done
done
exit $status
