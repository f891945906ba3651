# Shared by the scripts that build Windows programs from Debian's source packages. Sourced, not
# run.

# Makes Debian's source packages reachable by apt-get source, $1 naming one of them with its
# version (NAME=VERSION): when the machine has no deb-src entries, each deb entry is repeated as
# one (with its keyring), kept in files of their own. $2 is a folder for the files made on the way.
add_missing_deb_src_entries() {
    apt-get source --print-uris "$1" >/dev/null 2>&1 && return 0
    local work_dir="$2" sudo="" sources
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    mkdir -p "$work_dir"
    grep -hE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list 2>/dev/null |
        sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' >"$work_dir/deb-src.list" || true
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] && sed -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' "$sources"
        echo
    done >"$work_dir/deb-src.sources"
    # Stanzas that were deb-only before are now deb-src-only; everything else is dropped.
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /Types: deb-src\n/ && !/Enabled: no/' \
        "$work_dir/deb-src.sources" >"$work_dir/deb-src.only.sources"
    [ -s "$work_dir/deb-src.list" ] &&
        $sudo cp "$work_dir/deb-src.list" /etc/apt/sources.list.d/marovink-deb-src.list
    [ -s "$work_dir/deb-src.only.sources" ] &&
        $sudo cp "$work_dir/deb-src.only.sources" /etc/apt/sources.list.d/marovink-deb-src.sources
    $sudo apt-get update -qq
}
