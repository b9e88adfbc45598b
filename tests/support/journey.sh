# Sourced by the journeys through the real program: finding windows by title, clicking at places
# relative to a window's edges, typing into dialogs. The sourcing script sets `journey` (its name
# for messages), `work` (a scratch folder) and `shots` (a folder for screenshots, may be empty).

# A termination signal from outside is reported, not obeyed: one such signal ended a journey
# once on a fresh machine (its sender not found), and a journey ends by its own checks or, hung,
# by the test's time limit (which kills outright).
trap 'echo "$journey: a termination signal came from outside and was ignored" >&2' TERM

# The journey's own tools read and type UTF-8 whatever the caller's shell set (xdotool cannot type
# "ü" in the C locale); the program under test starts with no locale variables at all, as from a
# bare root shell or a container (as_user), and must show and write the same as under German.
export LC_ALL=C.UTF-8
unset LANG LANGUAGE
# One program runs at a time per user: without a runtime folder its lock lies in the scratch HOME.
unset XDG_RUNTIME_DIR
as_user() {
  env -u LC_ALL -u LC_CTYPE -u LC_MESSAGES -u LC_NUMERIC -u LANG -u LANGUAGE "$@"
}

# A scratch working folder ($work, the current folder is $work/cwd) and HOME (with an empty
# ~/Messungen and the settings of a start without tips); the program ($app) and the X session
# go when the journey ends.
journey_scratch() {
  work=$(mktemp -d)
  app=
  trap '[ -n "$app" ] && kill "$app" 2>/dev/null || true; xsession_stop; rm -rf "$work"' EXIT
  export HOME="$work/home"
  mkdir -p "$HOME/Messungen" "$HOME/.config/zpm" "$work/cwd"
  unset XDG_CONFIG_HOME XDG_DATA_HOME  # the desktop folders of the scratch HOME
  printf '1\n98\n0\n0\n0\n0\n0\n' >"$HOME/.config/zpm/zpmv48.ini"  # no tips, l/min, elapsed time
  cd "$work/cwd"
}

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
# A message box with the toolkit's default caption ("Message"), which GTK leaves off: the window
# without a title.
untitled_window() {
  local id
  id=$(wmctrl -l | awk 'NF == 3 { print $1; exit }')
  [ -z "$id" ] || printf '%d\n' "$id"
}
wait_untitled() {
  local id
  for _ in $(seq "${1:-100}"); do
    id=$(untitled_window)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_untitled_gone() {
  for _ in $(seq 100); do [ -z "$(untitled_window)" ] && return 0; sleep 0.1; done
  return 1
}
wait_gone() {  # TITLE [TENTHS OF A SECOND, 100]
  for _ in $(seq "${2:-100}"); do window_id "$1" >/dev/null || return 0; sleep 0.1; done
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
  wait_active "$d"
  xdotool key ctrl+a
  xdotool type --delay 10 "$path"
  wait_still "$d"
  shot "dialog-$3"
  for _ in 1 2 3 4 5; do
    # A click may find the dialog gone already, which is what it is for.
    click "$d" -50 -26 2>/dev/null || ! window_id "$title" >/dev/null || fail "cannot click \"$title\""
    wait_gone "$title" 20 && return 0
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
# What a window shows (the screen in its place, menus and boxes over it included), as a digest.
window_digest() { import -window "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
# Waits until the window shows something other than DIGEST and then holds still (the same twice
# in a row): what an action set off is drawn. At most 10 s, then the journey fails with WHAT.
wait_redrawn() {  # WINDOW DIGEST WHAT
  local now last=
  for _ in $(seq 100); do
    now=$(window_digest "$1")
    if [ "$now" != "$2" ]; then
      [ "$now" = "$last" ] && return 0
      last=$now
    fi
    sleep 0.05
  done
  fail "$3: the window did not change"
}
# Runs a check (a command) until it holds, at most 5 s: for what the program draws when a dialog
# has gone.
eventually() {
  for _ in $(seq 50); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
# Waits until the window holds still: its picture the same twice in a row (at most 10 s).
wait_still() {  # WINDOW
  local now last=
  for _ in $(seq 100); do
    now=$(window_digest "$1")
    [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.05
  done
  fail "window $1 never held still"
}
# Waits until the window has the keyboard focus (a dialog that was just mapped), then holds still.
wait_active() {  # WINDOW
  for _ in $(seq 100); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && { wait_still "$1"; return 0; }
    sleep 0.05
  done
  fail "window $1 never got the keyboard focus"
}
# Runs an action (a command and its arguments) on what the main window shows and waits until it
# is drawn. The pointer's hover effects are drawn before, so they do not count as the result.
on_main() {  # WHAT COMMAND...
  local what=$1 before
  shift
  before=$(window_digest "$main")
  "$@"
  wait_redrawn "$main" "$before" "$what"
}
# A click in the main window that changes what it shows: the pointer moved there first.
press() {  # X Y
  local x=$1 y=$2 WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=')"
  ((x < 0)) && x=$((WIDTH + x))
  ((y < 0)) && y=$((HEIGHT + y))
  xdotool mousemove --window "$main" "$x" "$y"
  wait_still "$main"
  on_main "a click at $1,$2" xdotool click 1
}
# A menu item by keyboard in the main window ($main): the menu's mnemonic, waited for until the
# menu shows, then the keys through it, which the open menu takes in turn.
menu() {
  xdotool windowactivate --sync "$main" 2>/dev/null || fail "the main window did not come to the front"
  on_main "the menu $1" xdotool key "$1"
  shift
  on_main "the menu keys $*" xdotool key "$@"
}
# The same for an item that opens the dialog titled $1, whose id it prints once it has the focus.
menu_dialog() {
  local title=$1 d
  shift
  menu "$@" >&2
  d=$(wait_window "$title" 40) || fail "no dialog \"$title\""
  wait_active "$d" >&2
  echo "$d"
}

# Prints from the GTK print dialog (titled exactly "Print") to a file: "Print to File", then
# "Print". Returns when the dialog has gone and output.pdf in the working folder reads as a whole
# PDF.
print_to_file() {
  local p= before
  for _ in $(seq 200); do
    p=$(xdotool search --onlyvisible --name '^Print$' 2>/dev/null | head -1) && [ -n "$p" ] && break
    sleep 0.1
  done
  [ -n "$p" ] || fail "no print dialog"
  wait_active "$p"
  before=$(window_digest "$p")
  click "$p" 80 88  # the first printer: "Print to File"
  wait_redrawn "$p" "$before" "\"Print to File\""
  shot print-dialog
  click "$p" -60 -30  # "Print"
  for _ in $(seq 100); do
    ! xdotool search --onlyvisible --name '^Print$' >/dev/null 2>&1 && pdfinfo output.pdf >/dev/null 2>&1 &&
      return 0
    sleep 0.1
  done
  fail "no page printed to output.pdf"
}

# Starts the program ($program) and finds its main window ($main).
start_program() {
  as_user "$program" 2>>"$work/stderr" &
  app=$!
  xsession_wait_window Unbennant 60 || fail "no main window"
  main=$(window_id Unbennant)
  # The splash (a window without a title) stays on top for its two seconds and would take the
  # first click.
  wait_untitled_gone || fail "the splash screen stayed"
  wait_still "$main"
}
# The places a journey clicks are measured at the main window's minimum size.
expect_minimum_size() {
  [ "$(xdotool getwindowgeometry "$main" | awk '/Geometry/ { print $2 }')" = 954x646 ] ||
    fail "the main window is not 954x646; the places the journey clicks need a look"
}
# Downloads the demo logger's events with the upload button and answers "No" to saving them.
# The button's place and the progress window's title are the German window's unless given.
download_demo_events() {  # [BUTTON-X [PROGRESS-TITLE]]
  local question=
  for _ in 1 2 3 4 5; do
    click "$main" "${1:-476}" -58
    question=$(wait_window "Save new data?" 30) && break
  done
  [ -n "$question" ] || fail "the download never asked to save"
  shot download
  click "$question" 65 -11  # "No", the left half of the buttons row
  wait_gone "Save new data?" || fail "the save question stayed"
  wait_gone "${2:-Laden}" || fail "the progress window stayed"
  wait_still "$main"
}
