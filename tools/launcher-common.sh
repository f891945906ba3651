# Shared by the tool launchers that lie beside Marovink. Sourced, not run.

# The real program called $1: the first one on PATH that is not a launcher of this folder.
find_real_program() {
    launcher_dir=$(cd -- "$(dirname -- "$0")" && pwd -P)
    old_ifs=$IFS
    IFS=:
    for dir in $PATH; do
        [ -n "$dir" ] || dir=.
        candidate="$dir/$1"
        if [ -x "$candidate" ] && [ ! -d "$candidate" ] &&
            [ "$(cd -- "$dir" 2>/dev/null && pwd -P)" != "$launcher_dir" ]; then
            IFS=$old_ifs
            printf '%s\n' "$candidate"
            return 0
        fi
    done
    IFS=$old_ifs
    echo "$(basename -- "$0"): $1 is not installed (Debian package: $2)" >&2
    return 1
}

