#!/usr/bin/env bash
# Builds the release of the commit checked out: Install_Vorpane.exe and the
# Uninstall_Vorpane.Exe it installs, signed when a certificate is given, and
# SHA256SUMS, in build/release/. The build starts from the commit's own files
# in a fresh folder (build/release-work/), so that local changes and earlier
# builds cannot reach it, and the same commit gives the same bytes anywhere.
#
#   bash scripts/release.sh
#
# Signing (SHA-256, with the product's name and web address):
#   VORPANE_SIGN_CERT, VORPANE_SIGN_KEY  the certificate (with its chain) and the
#                                        private key, PEM files
#   VORPANE_SIGN_PKCS12                  or both in one PKCS#12 file
#   VORPANE_SIGN_PASS                    the password of the PKCS#12 file or of
#                                        an encrypted key
#   VORPANE_SIGN_TIMESTAMP_URL           an RFC 3161 time-stamping server, so
#                                        that the signature outlives the
#                                        certificate (optional)
# Without a certificate the release is built unsigned, and says so.
#
# Also read:
#   VORPANE_CLIENT_IMAGE         the client program to ship (without it the
#                                build's stand-in is embedded, and it says so)
#   VORPANE_RELEASE_UNINSTALLER  a published, signed Uninstall_Vorpane.Exe to
#                                embed as it is: rebuilds a signed release's
#                                installer to compare (see README, "Releasing")
#   VORPANE_RELEASE_DIR          where the artefacts go (build/release); the
#                                work is done beside it, in <folder>-work
#   SOURCE_DATE_EPOCH            the programs' link time stamp; by default the
#                                commit's time
#   VORPANE_JOBS                 parallel build jobs (2)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

fail() { printf 'release.sh: %s\n' "$*" >&2; exit 1; }
step() { printf '\n== %s\n' "$*"; }
absolute() { (cd "$(dirname "$1")" && printf '%s/%s\n' "$(pwd)" "$(basename "$1")"); }
readable() { [ -f "$2" ] && [ -r "$2" ] || fail "$1 names $2, which is not a readable file"; }

# --- what was asked -----------------------------------------------------------
signing=""
if [ -n "${VORPANE_SIGN_PKCS12:-}" ]; then
  [ -z "${VORPANE_SIGN_CERT:-}${VORPANE_SIGN_KEY:-}" ] \
    || fail "give either VORPANE_SIGN_PKCS12 or VORPANE_SIGN_CERT and VORPANE_SIGN_KEY, not both"
  readable VORPANE_SIGN_PKCS12 "$VORPANE_SIGN_PKCS12"
  signing=pkcs12
elif [ -n "${VORPANE_SIGN_CERT:-}" ] || [ -n "${VORPANE_SIGN_KEY:-}" ]; then
  [ -n "${VORPANE_SIGN_CERT:-}" ] || fail "VORPANE_SIGN_KEY is set but VORPANE_SIGN_CERT is not: both are needed to sign"
  [ -n "${VORPANE_SIGN_KEY:-}" ] || fail "VORPANE_SIGN_CERT is set but VORPANE_SIGN_KEY is not: both are needed to sign"
  readable VORPANE_SIGN_CERT "$VORPANE_SIGN_CERT"
  readable VORPANE_SIGN_KEY "$VORPANE_SIGN_KEY"
  signing=pem
fi
given_uninstaller=""
if [ -n "${VORPANE_RELEASE_UNINSTALLER:-}" ]; then
  readable VORPANE_RELEASE_UNINSTALLER "$VORPANE_RELEASE_UNINSTALLER"
  given_uninstaller="$(absolute "$VORPANE_RELEASE_UNINSTALLER")"
fi
client=()
if [ -n "${VORPANE_CLIENT_IMAGE:-}" ]; then
  readable VORPANE_CLIENT_IMAGE "$VORPANE_CLIENT_IMAGE"
  client=(-DVORPANE_CLIENT_IMAGE="$(absolute "$VORPANE_CLIENT_IMAGE")")
fi
out="${VORPANE_RELEASE_DIR:-build/release}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$out-work"
jobs="${VORPANE_JOBS:-2}"

step "setup"
bash scripts/setup.sh release || fail "setup failed"

# The product's name, version and web address, from the one place the program has them.
product_text() { sed -n "s/.*$1 = \"\\(.*\\)\";/\\1/p" product/Product.h; }
version="$(product_text kVersion)"
web="$(product_text kWebHost)"
[ -n "$version" ] && [ -n "$web" ] || fail "product/Product.h does not give kVersion and kWebHost"
description="Vorpane $version"

# --- the commit's files in a fresh folder ----------------------------------------
commit="$(git rev-parse --verify HEAD 2>/dev/null)" || fail "a release is built from a commit: run this in a git checkout"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct HEAD)}"
step "Vorpane $version, commit $commit, link time stamp $SOURCE_DATE_EPOCH"
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "Local changes are not part of the release: it is built from commit $commit as committed."
fi
# Only what this script made is removed: the folders may have been named by hand.
if [ -e "$work" ] && [ ! -e "$work/.release-work" ]; then
  fail "$work exists and is not a folder this script made: move it away or choose another VORPANE_RELEASE_DIR"
fi
rm -rf "$work"
rm -f "$out/Install_Vorpane.exe" "$out/Uninstall_Vorpane.Exe" "$out/SHA256SUMS"
mkdir -p "$work/source"
touch "$work/.release-work"
git archive --format=tar HEAD | tar -x -C "$work/source"

build="$work/build"
configure() {
  local log="$work/configure.log"
  cmake -S "$work/source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$work/source/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVORPANE_BUILD_TESTS=OFF -DVORPANE_BUILD_BENCH=OFF "${client[@]}" "$@" >"$log" 2>&1 \
    || { cat "$log"; fail "configuring the release build failed"; }
}
build_installer() {
  cmake --build "$build" -j"$jobs" --target Install_Vorpane >"$work/build.log" 2>&1 \
    || { cat "$work/build.log"; fail "the release build failed"; }
}

# --- signing --------------------------------------------------------------------
# The password reaches osslsigncode in a file only this user can read, never on
# a command line that every user of the machine can list.
secrets="$(mktemp -d)"
trap 'rm -rf "$secrets"' EXIT
sign() {
  local input="$1" output="$2"
  local args=(sign -h sha256 -n "$description" -i "$web" -in "$input" -out "$output")
  if [ "$signing" = pkcs12 ]; then
    args+=(-pkcs12 "$VORPANE_SIGN_PKCS12")
  else
    args+=(-certs "$VORPANE_SIGN_CERT" -key "$VORPANE_SIGN_KEY")
  fi
  if [ -n "${VORPANE_SIGN_PASS:-}" ]; then
    (umask 077 && printf '%s' "$VORPANE_SIGN_PASS" >"$secrets/pass")
    args+=(-readpass "$secrets/pass")
  fi
  if [ -n "${VORPANE_SIGN_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$VORPANE_SIGN_TIMESTAMP_URL")
  fi
  osslsigncode "${args[@]}" >"$work/sign.log" 2>&1 \
    || { cat "$work/sign.log"; fail "signing $(basename "$output") failed"; }
}

# --- the programs -----------------------------------------------------------------
step "building the programs (build log: $work/build.log)"
configure
build_installer
# The unsigned programs: what an unsigned release ships, and what anyone
# rebuilding the commit compares with.
mkdir -p "$work/unsigned"
cp "$build/app/win32/Install_Vorpane.exe" "$work/unsigned/Install_Vorpane.exe"
cp "$build/payload/generated/separate/uninstaller.bin" "$work/unsigned/Uninstall_Vorpane.Exe"

final="$work/unsigned"
if [ -n "$signing" ] || [ -n "$given_uninstaller" ]; then
  # The uninstaller is signed before the installer embeds it, so that the
  # installed copy carries the signature and the installer's self-check holds
  # the digest of the signed bytes.
  mkdir -p "$work/signed"
  if [ -n "$given_uninstaller" ]; then
    step "embedding the given uninstaller $given_uninstaller"
    cp "$given_uninstaller" "$work/signed/Uninstall_Vorpane.Exe"
  else
    step "signing the uninstaller"
    sign "$work/unsigned/Uninstall_Vorpane.Exe" "$work/signed/Uninstall_Vorpane.Exe"
  fi
  step "building the installer around the signed uninstaller"
  configure -DVORPANE_UNINSTALLER_IMAGE="$work/signed/Uninstall_Vorpane.Exe"
  build_installer
  mkdir -p "$work/embedding"
  cp "$build/app/win32/Install_Vorpane.exe" "$work/embedding/Install_Vorpane.exe"
  if [ -n "$signing" ]; then
    step "signing the installer"
    sign "$work/embedding/Install_Vorpane.exe" "$work/signed/Install_Vorpane.exe"
  else
    cp "$work/embedding/Install_Vorpane.exe" "$work/signed/Install_Vorpane.exe"
  fi
  final="$work/signed"
fi

# --- the artefacts ------------------------------------------------------------------
cp "$final/Install_Vorpane.exe" "$final/Uninstall_Vorpane.Exe" "$out/"
(cd "$out" && sha256sum Install_Vorpane.exe Uninstall_Vorpane.Exe >SHA256SUMS)

step "release in $out"
cat "$out/SHA256SUMS"
if [ -n "$signing" ]; then
  echo "Signed (SHA-256, \"$description\", $web)${VORPANE_SIGN_TIMESTAMP_URL:+, time-stamped by $VORPANE_SIGN_TIMESTAMP_URL}."
elif [ -n "$given_uninstaller" ]; then
  echo "NOT SIGNED: the installer embeds the given uninstaller and carries no signature of its own;"
  echo "compare it with a signed release's installer after removing that signature (README, \"Releasing\")."
else
  echo "NOT SIGNED: no certificate was given (VORPANE_SIGN_CERT and VORPANE_SIGN_KEY, or VORPANE_SIGN_PKCS12)."
  echo "Windows will name the publisher of these programs \"Unknown\"."
fi
if [ ${#client[@]} -eq 0 ]; then
  echo "The client embedded is the build's stand-in, not Vorpane: set VORPANE_CLIENT_IMAGE to the client to ship."
fi
