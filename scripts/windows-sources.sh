# What the scripts that build the Windows libraries from Debian's sources share. Sourced; the script defines say()
# and sets $cache, where sources and builds live.

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# A folder the build may write to as the user running the script, even under /var/cache.
make_own_dir() {
    local dir="$1"
    [ -d "$dir" ] && [ -w "$dir" ] && return 0
    as_root mkdir -p "$dir"
    as_root chown "$(id -u):$(id -g)" "$dir"
}

# apt-get source needs a deb-src entry; it goes into a file of its own, beside the deb822 one. The package named is
# one whose source the script fetches, to tell whether the index is there.
enable_sources() {
    local package="$1"
    local list=/etc/apt/sources.list.d/tarvok-debian-src.sources
    if ! grep -Eqs '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' \
            /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
        local codename
        codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
        say "adding deb-src entries for $codename"
        as_root tee "$list" >/dev/null <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
        as_root apt-get update -qq
    elif ! apt-cache showsrc "$package" 2>/dev/null | grep -q '^Package:'; then
        as_root apt-get update -qq
    fi
}

# Debian's source of a package, unpacked with Debian's patches into $cache/src once; prints the folder, the last of
# those whose name matches the pattern.
fetch_source() {
    local package="$1" pattern="$2"
    local src="$cache/src"
    local dir
    dir="$(find "$src" -maxdepth 1 -type d -name "$pattern" 2>/dev/null | sort | tail -n 1)"
    if [ -z "$dir" ]; then
        say "fetching Debian's $package source"
        make_own_dir "$src"
        local sandbox=()
        # Root's downloads otherwise end in a warning that the _apt user cannot write here.
        [ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
        # The newest first; a mirror that does not hold it yet (a security update) leaves the release before it.
        local version
        for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -u -r -V); do
            (cd "$src" && apt-get source -qq "${sandbox[@]}" "$package=$version" >&2) && break
        done
        dir="$(find "$src" -maxdepth 1 -type d -name "$pattern" | sort | tail -n 1)"
        if [ -z "$dir" ]; then
            say "Debian's $package source is not one of $pattern: $(ls "$src")"
            exit 1
        fi
    fi
    echo "$dir"
}
