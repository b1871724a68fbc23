# Installs the Debian packages named, when any of them is missing. Sourced by the other scripts.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]} ..."
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the manager and its league test server needs; openssl makes the https site's certificate, and
# Qt's TLS on Linux loads libssl when the tests fetch over https.
BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libarchive-dev fonts-dejavu-core openssl libssl3)
