#!/usr/bin/env bash
# The program as installed: the files land where the desktop looks for them and pass the
# distribution's checks, the installed program runs from where it is installed (not from the
# build tree) and takes a capture through the installed tool, and the Debian package holds
# exactly what the installation does and passes lintian.
#
# Runs inside with-xvfb --tray; BUILD names the build tree to install from.
: "${BUILD:?names the build tree}"
VANTORSHOT=$BUILD/bin/vantorshot
source "$(dirname "$0")/e2e_lib.sh"

root=$E2E_DIR/installed
DESTDIR=$root cmake --install "$BUILD" --prefix /usr >/dev/null || fail "the installation failed"
files() { (cd "$1" && find . -type f | sed 's|^\./|/|' | sort); }

share=$root/usr/share
for entry in vantorshot vantorshot-edit; do
  desktop-file-validate "$share/applications/$entry.desktop" || fail "the $entry entry is invalid"
done
# Warnings (the id is not reverse-DNS) make the status nonzero too: errors are what counts.
appstream=$(appstreamcli validate --no-net "$share/metainfo/vantorshot.metainfo.xml" 2>&1) || true
grep -q 'Validation' <<<"$appstream" || fail "appstreamcli did not validate: $appstream"
grep -q '^E:' <<<"$appstream" && fail "the AppStream data has errors: $appstream"
for page in vantorshot vantorshot-capture vantorshot-portal-capture vantorshot-edit; do
  rendered=$(MANWIDTH=80 man -l "$share/man/man1/$page.1.gz" 2>&1) || fail "man cannot render $page(1)"
  grep -q '^EXIT STATUS' <<<"$rendered" || fail "$page(1) has no exit statuses"
done
for size in 16 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/vantorshot.png
  [[ $(/usr/bin/identify -format %wx%h "$icon" 2>/dev/null) == "${size}x$size" ]] ||
    fail "the $size-pixel icon is missing or of another size"
done

# The installed program, with its installed tool and resources.
prepare_user
unset VANTORSHOT_CAPTURE_TOOL
write_settings
VANTORSHOT=$root/usr/bin/vantorshot
start_program
wait_for_icon
[[ $(readlink "/proc/$APP_PID/exe") == "$root/usr/bin/vantorshot" ]] ||
  fail "the program running is not the installed one"
"$VANTORSHOT" --capture screen || fail "the installed program took no command"
wait_for "compgen -G '$CAPTURE_DIR/vs_cap_full_*.png' >/dev/null" 10 ||
  fail "no capture through the installed tool"
quit_from_menu

# The package holds what the installation does, and lintian finds no error in it.
(cd "$E2E_DIR" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$E2E_DIR/package" >/dev/null) ||
  fail "cpack failed"
package=$(compgen -G "$E2E_DIR/package/vantorshot_*.deb") || fail "no package was made"
[[ $(basename "$package") == vantorshot_1.18-1_*.deb ]] || fail "the package is $(basename "$package")"
dpkg-deb -x "$package" "$E2E_DIR/unpacked"
diff <(files "$root") <(files "$E2E_DIR/unpacked") || fail "the package differs from the installation"
findings=$(lintian --tag-display-limit 0 "$package" 2>&1) || fail "lintian: $findings"
echo "PASS"
