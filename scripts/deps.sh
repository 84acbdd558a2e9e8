# Installs the Debian packages named as arguments that are not installed yet (sourced by the
# other scripts).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# What building and playing the Linux program needs.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev fonts-comic-neue fonts-dejavu-core)
