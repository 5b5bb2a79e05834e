#!/usr/bin/env bash
# Makes the game's sound effects and music pieces with SoX and oggenc:
# synthesised tones, chimes, clicks and noises, mono, low bit rate Ogg Vorbis.
# The output is committed in data/Sound and data/Music; the build does not need
# these tools (Debian: sox, libsox-fmt-base, vorbis-tools).
#
#   bash tools/make_sounds.sh
#
# Every run writes the same files: SoX runs with repeatable random numbers and
# oggenc with a fixed stream serial number.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SOUND="$ROOT/data/Sound"
MUSIC="$ROOT/data/Music"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$SOUND" "$MUSIC"

RATE=22050
SOX=(sox -R -V1)

tmpfile() { mktemp -p "$TMP" --suffix=.wav; }
calc() { awk "BEGIN { print $1 }"; }

# synth OUT DURATION SYNTH-ARGS... [-- EFFECTS...]: one synthesised mono clip.
synth() {
  local out=$1 dur=$2; shift 2
  local args=() fx=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  fx=("$@")
  "${SOX[@]}" -n -r $RATE -c 1 -b 16 "$out" synth "$dur" "${args[@]}" "${fx[@]}"
}

# note TYPE NOTE LENGTH [GAIN]: a note that starts at once and dies away.
note() {
  local f; f=$(tmpfile)
  synth "$f" "$3" "$1" "$2" -- fade q 0.005 "$3" "$(calc "$3 * 0.8")" gain "${4:-0}"
  echo "$f"
}

# sequence OUT STEP LENGTH TYPE GAIN NOTES...: notes one STEP apart, each LENGTH
# long ("-" is a rest), mixed into one clip.
sequence() {
  local out=$1 step=$2 len=$3 type=$4 gain=$5; shift 5
  local parts=() i=0
  for n in "$@"; do
    if [ "$n" != "-" ]; then
      local f g; f=$(note "$type" "$n" "$len" "$gain"); g=$(tmpfile)
      "${SOX[@]}" "$f" "$g" pad "$(calc "$i * $step")"
      parts+=("$g")
    fi
    i=$((i + 1))
  done
  if [ ${#parts[@]} -eq 1 ]; then cp "${parts[0]}" "$out"; else "${SOX[@]}" -m -v 1 "${parts[@]}" "$out"; fi
}

# mix OUT IN...: sum of the clips, each at full level.
mix() {
  local out=$1; shift
  local args=()
  for f in "$@"; do args+=(-v 1 "$f"); done
  "${SOX[@]}" -m "${args[@]}" "$out"
}

# join OUT IN...: the clips one after the other.
join() { local out=$1; shift; "${SOX[@]}" "$@" "$out"; }

# encode IN OUT.ogg [LENGTH]: normalise to LEVEL dB (default -3), cut or pad to
# LENGTH, write Ogg Vorbis.
encode() {
  local in=$1 out=$2 len=${3:-}
  local f; f=$(tmpfile)
  if [ -n "$len" ]; then
    "${SOX[@]}" "$in" "$f" pad 0 "$len" trim 0 "$len" norm "${LEVEL:--3}"
  else
    "${SOX[@]}" "$in" "$f" norm "${LEVEL:--3}"
  fi
  oggenc -Q -q 0 -s 20240601 -o "$out" "$f"
  echo "$out"
}

sfx() { encode "$2" "$SOUND/$1.ogg" "${3:-}"; }

# ---------------------------------------------------------------- interface sounds
t=$(tmpfile); synth "$t" 0.05 sine 1300 -- fade q 0.002 0.05 0.045 ; LEVEL=-8 sfx OnButtonPress "$t"
t=$(tmpfile); synth "$t" 0.04 sine 2100 -- fade q 0.002 0.04 0.035 gain -10; LEVEL=-15 sfx MouseOver "$t"
a=$(note pluck G3 0.4); b=$(tmpfile); synth "$b" 0.08 brownnoise -- fade q 0.002 0.08 0.07 lowpass 300
t=$(tmpfile); mix "$t" "$a" "$b"; sfx FlagStuck "$t"
t=$(tmpfile); synth "$t" 0.18 square 180-110 -- lowpass 900 fade q 0.005 0.18 0.12 gain -6; LEVEL=-6 sfx OnEmptyPlaceClicked "$t"
t=$(note pluck C6 0.09); LEVEL=-9 sfx OnScoreCount "$t"
t=$(tmpfile); sequence "$t" 0.1 0.5 pluck 0 C5 E5 G5 C6; sfx OnWinMiniGame "$t"
t=$(tmpfile); sequence "$t" 0.16 0.35 sine 0 G4 D4; sfx OnMiniGameSkip "$t"
t=$(tmpfile); sequence "$t" 0.16 0.4 triangle 0 E5 A4; sfx OnMiniGameSolveLater "$t"
t=$(tmpfile); sequence "$t" 0.07 1.6 sine 0 C5 E5 G5 C6 E6; sfx OnRewarding "$t"
t=$(tmpfile); synth "$t" 0.35 pinknoise -- sinc 400-3000 fade h 0.1 0.35 0.2 gain -6; sfx OnInventoryOpen "$t"
a=$(tmpfile); synth "$a" 0.03 square 900 -- fade q 0.001 0.03 0.025
b=$(tmpfile); synth "$b" 0.03 square 650 -- fade q 0.001 0.03 0.025 pad 0.09
t=$(tmpfile); mix "$t" "$a" "$b"; LEVEL=-6 sfx OnToolUsed "$t"
t=$(tmpfile); sequence "$t" 0.05 0.4 pluck 0 A5 E6; sfx OnObjectClick "$t"
t=$(tmpfile); synth "$t" 0.07 triangle 1046 -- fade q 0.002 0.07 0.06 gain -4; LEVEL=-10 sfx OnTitleLetterAppear "$t"
a=$(tmpfile); synth "$a" 0.3 pinknoise -- sinc 800-4000 fade h 0.2 0.3 0.1 gain -10
b=$(note sine A5 0.6); c=$(tmpfile); "${SOX[@]}" "$b" "$c" pad 0.2
t=$(tmpfile); mix "$t" "$a" "$c"; sfx OnWindow "$t"

# ---------------------------------------------------------------- story sounds
a=$(tmpfile); synth "$a" 0.4 sine 440 sine 480 -- remix - tremolo 20 90
s=$(tmpfile); synth "$s" 0.2 sine 440 -- gain -100
t=$(tmpfile); join "$t" "$a" "$s" "$a" "$s"; sfx Phonering "$t"
t=$(tmpfile); synth "$t" 0.45 brownnoise -- sinc 300-2500 fade h 0.05 0.45 0.3 gain -3; sfx OnComicsStart "$t"
t=$(tmpfile); synth "$t" 0.15 sine 400-900 -- fade q 0.005 0.15 0.05 gain -3; LEVEL=-8 sfx OnCharAppear "$t"
t=$(tmpfile); synth "$t" 0.15 sine 900-400 -- fade q 0.005 0.15 0.05 gain -3; LEVEL=-8 sfx OnCharCame "$t"
t=$(tmpfile); synth "$t" 0.6 pinknoise -- sinc 200-1500 fade h 0.3 0.6 0.3 gain -6; sfx OnFlyingIn "$t"
t=$(tmpfile); sequence "$t" 0.06 0.5 pluck 0 G6 B6 D7 G7; sfx OnMagnifyingGlassAppear "$t"
t=$(tmpfile); sequence "$t" 0.09 0.4 pluck 0 E5 B5; sfx OnInventoryObjectAdded "$t"
t=$(tmpfile); synth "$t" 0.35 triangle 320-150 -- fade q 0.005 0.35 0.1 gain -2; sfx OnTimePenalty "$t"
t=$(tmpfile); sequence "$t" 0.3 0.6 triangle 0 G4 Eb4 C4; sfx OnTimeOut "$t"
a=$(tmpfile); synth "$a" 0.04 square 1000 -- fade q 0.001 0.04 0.035 gain -4
b=$(tmpfile); synth "$b" 0.04 square 780 -- fade q 0.001 0.04 0.035 gain -4 pad 0.5
t=$(tmpfile); mix "$t" "$a" "$b"; LEVEL=-6 sfx OnCriticalTime "$t" 1.0
a=$(tmpfile); synth "$a" 0.5 whitenoise -- fade q 0.002 0.5 0.48 lowpass 2500
b=$(tmpfile); synth "$b" 0.6 pinknoise -- tremolo 31 100 fade q 0.01 0.6 0.5 highpass 2000 gain -8 pad 0.15
t=$(tmpfile); mix "$t" "$a" "$b"; sfx OnSalute "$t"
t=$(tmpfile); synth "$t" 0.22 sine 600-950 -- tremolo 30 40 fade q 0.02 0.22 0.1 gain -3; sfx OnKiss "$t"

# ---------------------------------------------------------------- object sounds
t=$(tmpfile); sequence "$t" 0.45 0.5 sine 0 E5 C5; sfx kuku_1 "$t"
t=$(tmpfile); synth "$t" 1.0 whitenoise -- sinc 1000-5000 tremolo 50 30 fade q 0.05 1.0 0.2 gain -12; LEVEL=-8 sfx telek "$t"
t=$(tmpfile); synth "$t" 0.9 brownnoise -- tremolo 14 80 sinc 150-1200 fade q 0.1 0.9 0.4; LEVEL=-6 sfx globus "$t"
t=$(tmpfile); sequence "$t" 0.18 0.5 pluck 0 C6 E6 G6 E6 C6 G5; sfx igrushka "$t"
a=$(tmpfile); synth "$a" 0.5 sine 2500 sine 3170 -- remix - fade q 0.001 0.5 0.48
b=$(tmpfile); synth "$b" 0.5 sine 2800 sine 3560 -- remix - fade q 0.001 0.5 0.48 pad 0.12
t=$(tmpfile); mix "$t" "$a" "$b"; sfx posuda "$t"
t=$(tmpfile); synth "$t" 1.5 brownnoise -- tremolo 9 35 lowpass 600 fade q 0.2 1.5 0.3; LEVEL=-8 sfx ventilyator "$t"
t=$(tmpfile); synth "$t" 1.0 whitenoise -- highpass 3000 tremolo 6 40 fade q 0.2 1.0 0.4 gain -6; LEVEL=-8 sfx zmeya "$t"

# ---------------------------------------------------------------- memory game sounds
# BrickOpn: a bottle turned up, a glass clink under a short shimmer.
a=$(tmpfile); synth "$a" 0.35 sine 2350 sine 3120 -- remix - fade q 0.001 0.35 0.32
b=$(tmpfile); sequence "$b" 0.05 0.3 pluck -8 2637 3136 3951
t=$(tmpfile); mix "$t" "$a" "$b"; LEVEL=-6 sfx BrickOpn "$t"
# BrickDes: a matched pair bursts, a soft pop and falling glass chimes.
a=$(tmpfile); synth "$a" 0.08 pinknoise -- lowpass 1200 fade q 0.002 0.08 0.07 gain -2
b=$(tmpfile); sequence "$b" 0.06 0.35 pluck -4 3951 3136 2637 2093
c=$(tmpfile); synth "$c" 0.5 whitenoise -- highpass 5000 fade q 0.005 0.5 0.45 gain -16
t=$(tmpfile); mix "$t" "$a" "$b" "$c"; LEVEL=-5 sfx BrickDes "$t"

# ---------------------------------------------------------------- music
# Each piece: a plucked melody over soft sine chords, a whole number of bars so
# that it repeats without a gap.

# piece OUT LENGTH STEP MELODY-NOTES... -- CHORD-STEP CHORD-ROOTS...
# Chord roots are semitones from A4 (-24 is A2); each chord is root, fifth, octave.
piece() {
  local out=$1 len=$2 step=$3; shift 3
  local melody=()
  while [ "$1" != "--" ]; do melody+=("$1"); shift; done
  shift
  local cstep=$1; shift
  local m c; m=$(tmpfile); c=$(tmpfile)
  sequence "$m" "$step" "$(calc "$step * 3")" pluck 0 "${melody[@]}"
  local chords=() i=0
  for root in "$@"; do
    local f g; f=$(tmpfile); g=$(tmpfile)
    synth "$f" "$cstep" sine "%$root" sine "%$((root + 7))" sine "%$((root + 12))" -- remix - fade h 0.2 "$cstep" 0.4 gain -9
    "${SOX[@]}" "$f" "$g" pad "$(calc "$i * $cstep")"
    chords+=("$g"); i=$((i + 1))
  done
  local pad; pad=$(tmpfile); mix "$pad" "${chords[@]}"
  mix "$out" "$m" "$pad"
}

# A calm theme in A minor: the main menu.
t=$(tmpfile)
piece "$t" 12 0.25 \
  A4 C5 E5 C5 A4 C5 E5 G5 F4 A4 C5 A4 F4 A4 C5 F5 \
  C5 E5 G5 E5 C5 E5 G5 C6 E4 G#4 B4 G#4 E4 G#4 B4 - \
  A4 C5 E5 A5 G5 E5 C5 E5 F4 A4 C5 F5 E5 C5 B4 - \
  -- 2 -24 -28 -21 -29 -24 -28
LEVEL=-4 encode "$t" "$MUSIC/music_1.ogg" 12

# A quiet, curious motif in D minor: the load screen.
t=$(tmpfile)
piece "$t" 10 0.3125 \
  D5 - F5 A5 - G5 F5 E5 D5 - A4 - Bb4 - A4 - \
  D5 - F5 A5 - C6 Bb5 A5 G5 - E5 - C#5 - - - \
  -- 2.5 -31 -35 -31 -36
LEVEL=-4 encode "$t" "$MUSIC/music_2.ogg" 10

# A light, ticking search tune in E minor: the levels.
t=$(tmpfile)
piece "$t" 12 0.1875 \
  E5 G5 B5 G5 E5 G5 B5 G5 C5 E5 G5 E5 C5 E5 G5 E5 \
  D5 F#5 A5 F#5 D5 F#5 A5 F#5 B4 D#5 F#5 D#5 B4 D#5 F#5 B5 \
  E5 G5 B5 E6 B5 G5 E5 G5 C5 E5 G5 C6 G5 E5 C5 E5 \
  D5 F#5 A5 D6 A5 F#5 D5 F#5 B4 D#5 F#5 A5 F#5 D#5 B4 - \
  -- 1.5 -29 -33 -31 -34 -29 -33 -31 -34
LEVEL=-4 encode "$t" "$MUSIC/music_3.ogg" 12

# A bright fanfare in C major: the end of the story.
t=$(tmpfile)
piece "$t" 10 0.25 \
  C5 E5 G5 C6 - G5 C6 E6 F5 A5 C6 F6 - C6 A5 F5 \
  G5 B5 D6 G6 - D6 B5 G5 C6 G5 E5 C5 G5 E5 C6 - \
  C5 E5 G5 C6 E6 G6 C7 - \
  -- 2 -21 -28 -26 -21 -21
LEVEL=-4 encode "$t" "$SOUND/OnFinal.ogg" 10
