# Shared by scripts/run and scripts/test: installs the Debian packages the build
# and the tests need (only those missing) and configures and builds one tree.

ARKIVO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  # web archive export: gzip members, digests, record names, WACZ packages
  zlib1g-dev libssl-dev uuid-dev libminizip-dev
  libgtest-dev libgmock-dev
  libdb1-compat
  libmsiecf-utils
  linkchecker
  qt6-base-dev
  fonts-dejavu-core fonts-liberation fonts-urw-base35
  clang libclang-rt-14-dev
  clang-format
  # the Debian package (cpack finds its dependencies) and the install checks
  dpkg-dev file lintian desktop-file-utils appstream
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing=()
  local package
  for package in "${ARKIVO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# build_tree DIR [cmake options...]
build_tree() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -- -j"$(nproc)"
}
