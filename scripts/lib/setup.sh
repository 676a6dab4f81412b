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

# What only the web archive tests use: Node.js with npm (for the checks and the
# npm tools below) and Chromium (for the replay). Each is installed when its
# program is missing; a failed install leaves those tests to skip, saying why.
install_missing_test_packages() {
  local missing=()
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
  [ -x /usr/bin/chromium ] || missing+=(chromium)
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing for the tests: ${missing[*]}"
    if ! { as_root apt-get update -q &&
      as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; }; then
      echo "warning: could not install ${missing[*]}; the web archive tests that need them will skip" >&2
    fi
  fi
}

# The ReplayWeb.page viewer is taken from its package alone (npm pack): it ships
# its built ui.js and sw.js, while a full install of its dependencies fails.
REPLAYWEBPAGE_VERSION=2.5.3

# install_web_archive_tools DIR: the npm packages pinned by
# tests/web_archive/package-lock.json, and the viewer, into DIR. Skipped when DIR
# already holds them; a failure leaves the tests that need them to skip.
install_web_archive_tools() {
  local dir=$1
  local pins=tests/web_archive
  if ! command -v npm >/dev/null; then
    echo "warning: npm is missing; the web archive tests that need warcio, puppeteer-core or replaywebpage will skip" >&2
    return 0
  fi
  mkdir -p "$dir"
  if [ ! -d "$dir/node_modules" ] || ! cmp -s "$pins/package-lock.json" "$dir/package-lock.json"; then
    cp "$pins/package.json" "$pins/package-lock.json" "$dir/"
    if ! (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error); then
      # Without the copied lock the next run tries again.
      rm -f "$dir/package-lock.json"
      echo "warning: npm ci of $pins failed; the web archive tests that need warcio or puppeteer-core will skip" >&2
    fi
  fi
  local viewer="$dir/replaywebpage"
  if ! grep -qs "\"version\": \"$REPLAYWEBPAGE_VERSION\"" "$viewer/package.json"; then
    local unpack
    unpack=$(mktemp -d)
    if (cd "$unpack" && npm pack --silent "replaywebpage@$REPLAYWEBPAGE_VERSION" >/dev/null &&
      tar -xzf replaywebpage-*.tgz); then
      rm -rf "$viewer"
      mv "$unpack/package" "$viewer"
    else
      echo "warning: npm pack replaywebpage@$REPLAYWEBPAGE_VERSION failed; the replay test will skip" >&2
    fi
    rm -rf "$unpack"
  fi
}

# build_tree DIR [cmake options...]
build_tree() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -- -j"$(nproc)"
}
