#!/usr/bin/env bash
# "More..." as a person uses it: Give Feedback and Contact Me hand the opener their address and
# show nothing of their own; About shows the box, and Return closes it without opening a page.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings
mkdir -p "$E2E_DIR/bin" "$E2E_DIR/opened"
cat >"$E2E_DIR/bin/xdg-open" <<OPENER
#!/usr/bin/env bash
printf '%s\n' "\$@" >"$E2E_DIR/opened/\$(ls "$E2E_DIR/opened" | wc -l)"
OPENER
chmod +x "$E2E_DIR/bin/xdg-open"
export PATH=$E2E_DIR/bin:$PATH
pages="file://$(realpath "$(dirname "$VANTORSHOT")/../share/vantorshot")"
start_program
wait_for_icon

# Chooses the Nth item (from 1, separators not counted) of the "More..." submenu.
choose_more_item() {
  open_status_menu
  choose_menu_item 6  # More..., which opens on its first item
  choose_menu_item $(($1 - 1))
}
opened() { wait_for "[[ -e '$E2E_DIR/opened/$1' ]]" 5 && cat "$E2E_DIR/opened/$1"; }

choose_more_item 2
[[ $(opened 0) == "$pages/feedback.html" ]] || fail "Give Feedback opened '$(opened 0)'"
choose_more_item 3
[[ $(opened 1) == "$pages/contact.html" ]] || fail "Contact Me opened '$(opened 1)'"
sleep 0.3
menu_is_open && fail "a link left a window open"

choose_more_item 1
wait_for 'xdotool search --name "^Vantor Shot II 1.18" >/dev/null' 5 || fail "no About box"
xdotool key Return
wait_for '! xdotool search --name "^Vantor Shot II 1.18" >/dev/null' 5 || fail "Return left the box open"
sleep 0.3
[[ $(ls "$E2E_DIR/opened" | wc -l) == 2 ]] || fail "Return in the About box opened a page"

quit_from_menu
echo "PASS"
