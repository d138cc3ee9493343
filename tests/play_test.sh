#!/bin/sh
# tools/play with a stand-in build folder: the archives it packed are packed
# again when the generator changes, and a player's own archive (a file or a
# link) is kept as it is and named in one line.
# Usage: tests/play_test.sh SOURCE_DIR
src=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
build=$work/build run=$work/run
mkdir -p "$build" "$run" && run=$(cd "$run" && pwd) || exit 1
# The generator writes what build/gen says; the packer joins the folder's files
# (through a link, if one is in the way); the game just ends.
cat >"$build/datagen" <<'EOF'
#!/bin/sh
mkdir -p "$1/vko01" "$1/vkobgm"
cp "$(dirname "$0")/gen" "$1/vko01/a.txt"
cp "$(dirname "$0")/gen" "$1/vkobgm/b.txt"
EOF
cat >"$build/tsapack" <<'EOF'
#!/bin/sh
[ $# = 3 ] || exit 2
cat "$2"/* >"$1"
EOF
printf '#!/bin/sh\nexit 0\n' >"$build/vko01"
chmod +x "$build/datagen" "$build/tsapack" "$build/vko01"
echo theirs >"$work/theirs.dat"

fails=0
fail() { echo "FAIL: $*"; fails=1; }
# the archive's name and what it must be after the run: new (packed from this
# generation), own (the player's file) or link (the player's link)
expect() {
  f=$run/$1.dat
  case $2 in
    new) [ ! -L "$f" ] && [ "$(cat "$f")" = "$gen" ] || fail "gen $gen: $1.dat holds $(cat "$f")" ;;
    own) [ ! -L "$f" ] && [ "$(cat "$f")" = mine ] || fail "gen $gen: the player's $1.dat changed" ;;
    link) [ -L "$f" ] && [ "$(cat "$work/theirs.dat")" = theirs ] ||
            fail "gen $gen: the player's link at $1.dat or its target changed" ;;
  esac
  kept=$(printf '%s\n' "$out" |
    grep -cxF "play: keeping $f, an archive make play did not pack (it wins over $run/$1/)")
  want=1; [ "$2" = new ] && want=0
  [ "$kept" = "$want" ] || fail "gen $gen: $1.dat named $kept times as kept, expected $want: $out"
}
# generator output (each a newer generator), what is planted before the run,
# then what vko01.dat and vkobgm.dat must be after it
stamp=2090
while read -r gen plant a b; do
  echo "$gen" >"$build/gen"
  [ "$gen" = one ] || touch -t "${stamp}01010000" "$build/datagen"
  stamp=$((stamp + 1))
  case $plant in
    own) echo mine >"$run/vko01.dat" ;;
    link) rm -f "$run/vkobgm.dat" && ln -s "$work/theirs.dat" "$run/vkobgm.dat" ;;
  esac
  out=$(sh "$src/tools/play" "$build" "$run") || fail "gen $gen: tools/play failed: $out"
  expect vko01 "$a"
  expect vkobgm "$b"
done <<'TABLE'
one - new new
two - new new
three own own new
four link own link
TABLE
[ "$fails" = 0 ] && echo "play: the packed archives refreshed, the player's own kept"
exit "$fails"
