# Sourced by the journeys through the real program: finding windows by title, clicking at places
# relative to a window's edges, typing into dialogs. The sourcing script sets `journey` (its name
# for messages), `work` (a scratch folder) and `shots` (a folder for screenshots, may be empty).

# A termination signal from outside is reported, not obeyed: one such signal ended a journey
# once on a fresh machine (its sender not found), and a journey ends by its own checks or, hung,
# by the test's time limit (which kills outright).
trap 'echo "$journey: a termination signal came from outside and was ignored" >&2' TERM

shot() { [ -z "$shots" ] || import -window root "$shots/$1.png"; }
fail() {
  echo "$journey: $*" >&2
  wmctrl -l >&2 || true
  shot failure
  exit 1
}

# The X id of the window whose title contains $1. wmctrl, because xdotool's search misses titles
# such as "Bild speichern als…".
window_id() {
  local id
  id=$(wmctrl -l | awk -v t="$1" 'index($0, t) { print $1; exit }')
  [ -n "$id" ] && printf '%d\n' "$id"
}
wait_window() {
  for _ in $(seq "${2:-100}"); do window_id "$1" && return 0; sleep 0.1; done
  return 1
}
wait_gone() {
  for _ in $(seq 100); do window_id "$1" >/dev/null || return 0; sleep 0.1; done
  return 1
}
# The main window's title is the file's name, exactly.
wait_title() {
  for _ in $(seq 100); do
    wmctrl -l | awk '{ $1 = $2 = $3 = ""; sub(/^ +/, ""); print }' | grep -qx -- "$1" && return 0
    sleep 0.1
  done
  fail "the main window is not titled \"$1\""
}
# Clicks at a point relative to a window's top left corner; negative values count from the right
# or bottom edge, from the size xdotool reports.
click() {
  local x=$2 y=$3 WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  ((x < 0)) && x=$((WIDTH + x))
  ((y < 0)) && y=$((HEIGHT + y))
  xdotool mousemove --window "$1" "$x" "$y" click 1
}
# Replaces the text of a file dialog's name field (it has the focus) with a path and presses the
# dialog's action button at the bottom right. The path completion popup may take a click; then
# the button gets another.
type_path_and_confirm() {
  local title=$1 path=$2 d
  d=$(wait_window "$title") || fail "no dialog \"$title\""
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 10 "$path"
  sleep 0.3
  shot "dialog-$3"
  for _ in 1 2 3 4 5; do
    click "$d" -50 -26 2>/dev/null || true
    wait_gone "$title" && return 0
  done
  fail "the dialog \"$title\" did not close"
}
# Pixels of a window's picture (or a part, GEOMETRY) in a colour, give or take a little.
count_colour() {  # FILE COLOUR [GEOMETRY]
  local crop=()
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  convert "$1" "${crop[@]}" -fuzz 3% -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}
# A menu item by keyboard in the main window ($main): the menu's mnemonic, then keys through it.
menu() {
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key "$1"
  sleep 0.8
  shift
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.3
  done
}
# The same for an item that opens the dialog titled $1, whose id it prints: tried again (menus
# closed first) when the dialog does not come, as a key can reach a menu that is still opening.
menu_dialog() {
  local title=$1 d
  shift
  for _ in 1 2 3; do
    menu "$@"
    d=$(wait_window "$title" 40) && { echo "$d"; return 0; }
    xdotool key Escape Escape Escape
    sleep 0.3
  done
  return 1
}
