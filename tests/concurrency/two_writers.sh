#!/usr/bin/env bash
# Two writers on one data folder at once, as the editor and vhtool or two vhtool runs meet in a
# shared folder. Each trial starts two commands on a fresh copy of a sample at the same moment;
# afterwards each either succeeded or refused saying another program was writing (or had changed
# its records), and the folder holds exactly what running the successful ones one after the other
# (in either order) leaves, with a clean check. Nothing else counts as a pass.
# Usage: two_writers.sh VHTOOL [TRIALS-PER-PAIRING]
#   VHTOOL may be "wine path/vhtool.exe": paths are then given to it as Windows paths.
set -euo pipefail
read -r -a vhtool <<<"$1"
trials="${2:-50}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

arg() {  # a path as the program under test names it
  if [ "${vhtool[0]}" = wine ]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi
}
run() { "${vhtool[@]}" "$@"; }
state() {  # the data files' bytes; a journal left behind is a failure of its own
  [ ! -e "$1/vhedit.journal" ] || { echo "vhedit.journal left in $1" >&2; return 1; }
  cat "$1"/*.dat | md5sum | cut -d' ' -f1
}

tpl="$work/template"
run sample "$(arg "$tpl")" >/dev/null
export_players() { run export "$(arg "$1")" players | tr -d '\r'; }
# Sixty players, by record, and the column numbers of what the imports change.
header="$(export_players "$tpl" | sed -n 1p)"
col() { tr ',' '\n' <<<"$header" | grep -nx "$1" | cut -d: -f1; }
mapfile -t players < <(export_players "$tpl" | tail -n +2 | cut -d, -f1 | sed -n 1,60p)
club_col="$(col PlayerCurrentClub)"
# A club to move players to: the club of the last player listed.
target_club="$(export_players "$tpl" | tail -1 | cut -d, -f"$club_col")"

csv() {  # csv NAME COLUMN VALUE [COUNT]: COUNT players (all by default) given VALUE in COLUMN
  local n="${4:-${#players[@]}}"
  { echo "Record,$2"; for r in "${players[@]:0:$n}"; do echo "$r,$3"; done; } >"$work/$1.csv"
}
csv pace3 PLayerPace 3
csv pace18 PLayerPace 18
csv stamina7 PlayerStamina 7
csv moves PlayerCurrentClub "$target_club" 3
# A patch that changes the stamina of the same players.
cp -r "$tpl" "$work/patched"
run import "$(arg "$work/patched")" players "$(arg "$work/stamina7.csv")" >/dev/null
run diff "$(arg "$work/patched")" --against "$(arg "$tpl")" --patch "$(arg "$work/stamina.patch")" \
  >/dev/null 2>&1 || true
[ -s "$work/stamina.patch" ] || { echo "no patch was written" >&2; exit 1; }

import() { run import "$(arg "$1")" players "$(arg "$work/$2.csv")"; }
apply() { run apply "$(arg "$1")" "$(arg "$work/$2")"; }

# The folder after the commands given, one after the other; each must succeed alone.
serial() {
  local d="$work/serial"
  rm -rf "$d"
  cp -r "$tpl" "$d"
  local c
  for c in "$@"; do
    eval "$c \"\$d\"" >/dev/null 2>"$work/serial.err" || {
      echo "alone, '$c' failed: $(cat "$work/serial.err")" >&2
      exit 1
    }
  done
  state "$d"
}

failures=0 total=0
pairing() {  # pairing NAME COMMAND-A COMMAND-B
  local name="$1" a="$2" b="$3"
  local s0 sa sb sab sba
  s0="$(state "$tpl")" sa="$(serial "$a")" sb="$(serial "$b")"
  sab="$(serial "$a" "$b")" sba="$(serial "$b" "$a")"
  local t d ra rb now want
  for ((t = 1; t <= trials; t++)); do
    d="$work/trial"
    rm -rf "$d"
    cp -r "$tpl" "$d"
    (set +e; eval "$a \"\$d\"" >/dev/null 2>"$work/a.err"; echo $? >"$work/a.rc") &
    (set +e; eval "$b \"\$d\"" >/dev/null 2>"$work/b.err"; echo $? >"$work/b.rc") &
    wait
    ra="$(cat "$work/a.rc")" rb="$(cat "$work/b.rc")"
    total=$((total + 1))
    for side in a b; do
      if [ "$(cat "$work/$side.rc")" != 0 ] &&
        ! grep -q "Another program is writing\|changed by another program" "$work/$side.err"; then
        echo "$name, trial $t: $side failed (exit code $(cat "$work/$side.rc")) for another reason: $(cat "$work/$side.err")" >&2
        failures=$((failures + 1))
      fi
    done
    case "$ra$rb" in
      00) want="$sab $sba" ;;
      0*) want="$sa" ;;
      *0) want="$sb" ;;
      *) want="$s0" ;;
    esac
    now="$(state "$d")" || { failures=$((failures + 1)); continue; }
    if ! grep -qw "$now" <<<"$want"; then
      echo "$name, trial $t: a change was lost (exit codes $ra and $rb)" >&2
      failures=$((failures + 1))
    elif ! run check "$(arg "$d")" >/dev/null 2>&1; then
      echo "$name, trial $t: the check fails afterwards" >&2
      failures=$((failures + 1))
    fi
  done
  echo "$name: $trials trials"
}

pairing "import/import, the same cells" "import_pace3() { import \"\$1\" pace3; }; import_pace3" \
  "import_pace18() { import \"\$1\" pace18; }; import_pace18"
pairing "import/import, other cells of the same records" \
  "f() { import \"\$1\" pace3; }; f" "g() { import \"\$1\" stamina7; }; g"
pairing "import/apply" "f() { import \"\$1\" pace18; }; f" "g() { apply \"\$1\" stamina.patch; }; g"
pairing "import with moves/import" "f() { import \"\$1\" moves; }; f" \
  "g() { import \"\$1\" pace3; }; g"

echo "$((total - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
