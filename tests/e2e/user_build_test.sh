#!/usr/bin/env bash
# What a user builds runs: the `run` preset's program brings up its tray icon and ends on
# `vantorshot --quit`, and the Debian package, unpacked, holds a program that names its version
# and a capture tool that captures this display. Runs inside with-xvfb --tray.
#
#   user_build_test.sh RUN_BUILD PACKAGE_BUILD
run_build=${1:?names the run preset build} package_build=${2:?names the package build}
VANTORSHOT=$run_build/bin/vantorshot
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
unset VANTORSHOT_CAPTURE_TOOL
write_settings
start_program
wait_for_icon
"$VANTORSHOT" --quit || fail "vantorshot --quit ended with status $?"
wait_for '! kill -0 $APP_PID 2>/dev/null' 5 || fail "the program is still running after --quit"
wait "$APP_PID" || fail "the program ended with status $?"
APP_PID=

package=$(compgen -G "$package_build/vantorshot_*.deb") || fail "no package in $package_build"
dpkg-deb -x "$package" "$E2E_DIR/unpacked" || fail "dpkg-deb cannot unpack $package"
bin=$E2E_DIR/unpacked/usr/bin
version=$("$bin/vantorshot" --version) || fail "the packaged program's --version failed"
[[ $version =~ ^vantorshot\ [0-9]+\.[0-9]+$ ]] || fail "the packaged program says '$version'"
"$bin/vantorshot-capture" -x "$E2E_DIR/shot.png" || fail "the packaged capture tool failed"
size=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
[[ $(/usr/bin/identify -format %wx%h "$E2E_DIR/shot.png") == "$size" ]] ||
  fail "the packaged capture tool's picture is not the $size screen"
echo "PASS"
